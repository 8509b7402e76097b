// The engine's console and unit files.
//
// Stages write through these streams only, so a test can run a stage against
// in-memory streams and compare exactly what it wrote.  Unit files are created
// in the work folder at start-up in a fixed order; the scratch files are read
// back by the stage that wrote them, so every unit is a read/write stream.
//
// A unit file that did not take everything written to it (a full disk, a
// quota, a file that refuses writes) must not pass for a finished file: its
// flush and close are checked, and a failure ends the run with EngineStop
// naming the file.  A unit used after it was closed, or before any was
// opened, is a fault of the engine (std::logic_error).
#pragma once

#include <array>
#include <iosfwd>
#include <iostream>
#include <memory>
#include <string>

#include "common/status.h"
#include "common/stop.h"

namespace vorm {

// The stop of a run whose unit file lost what was written to it.  No stage
// has said so on the console; the run driver does, with the status lines.
class UnitWriteFailure : public EngineStop {
public:
    using EngineStop::EngineStop;
};

enum class Unit { FT06, FT15, FT08, FT13, FT14, FT16, FT17, FT19, FT18 };
constexpr int UNIT_COUNT = 9;

// File names in the order the run driver creates them.
const char* unit_file_name(Unit u);

class UnitFiles {
public:
    UnitFiles();
    ~UnitFiles();
    UnitFiles(const UnitFiles&) = delete;
    UnitFiles& operator=(const UnitFiles&) = delete;

    // Creates (truncating) every unit file below the folder, each a plain file
    // (common/workfolder.h); on failure returns false and names the file and
    // the reason in *failed.
    bool open_in_folder(const std::string& folder, std::string* failed);
    // In-memory units, for tests.
    void open_in_memory();

    std::iostream& operator[](Unit u);
    bool is_open(Unit u) const;
    // Flushes the unit and ends the run when anything written to it was lost
    // (a scratch unit checks so before it is read back).
    void check(Unit u);
    // A scratch unit read back from its start: checked as above first, so
    // that a file that lost lines is never read.
    void rewind(Unit u);
    // A scratch unit written again from its start: whatever it held is gone,
    // as after a rewind and a write of the first record.
    void rewrite(Unit u);
    // Flushes and closes the unit, checked as above.
    void close(Unit u);
    // Closes every unit still open, all of them even when one fails, then ends
    // the run naming the first that failed.
    void close_all();
    // Closes every unit still open without checks, for a run that has
    // already failed.
    void close_all_unchecked();
    // Contents of an in-memory unit (tests only).
    std::string contents(Unit u) const;

private:
    std::array<std::unique_ptr<std::iostream>, UNIT_COUNT> units_;
    std::array<std::string, UNIT_COUNT> paths_;
    std::array<bool, UNIT_COUNT> closed_{};
    bool in_memory_ = false;
    // Flushes and, for a file, closes the unit; false when a write was lost.
    bool finish(Unit u);
};

struct Io {
    std::ostream& con;  // console output
    std::istream& cin;  // console input (the dialogue and the pauses)
    UnitFiles units;
    StatusWarnings warnings;  // given to the status file while the run went on

    Io(std::ostream& out, std::istream& in) : con(out), cin(in) {}
    std::iostream& report() { return units[Unit::FT06]; }
};

}  // namespace vorm
