// Running the job dialogue in-process against a job file or console answers.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/io.h"
#include "common/stop.h"
#include "driver/Stages.h"
#include "test_support.h"

namespace vorm::test {

// A job-file line as the front end writes it: the value, blanks up to the
// next 14-column print zone, then the label.
inline std::string labelled(const std::string& value, const std::string& label) {
    std::size_t zone = (value.size() / 14 + 1) * 14;
    return value + std::string(zone - value.size(), ' ') + label;
}

// Lines joined with CR LF, the last line too.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

inline std::string lf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

inline void fixed_clock(int year, int month, int day, int hour, int minute, int second) {
    set_clock([=] {
        ClockReading r;
        r.year = year;
        r.month = month;
        r.day = day;
        r.hour = hour;
        r.minute = minute;
        r.second = second;
        return r;
    });
}

struct DialogueRun {
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::string console;
    std::string report;
    bool stopped = false;
    std::vector<std::string> status;  // the EngineStop lines, when stopped
};

// Runs ASKIT with the given job file path (blank: console mode) and console input.
inline DialogueRun run_dialogue(const std::string& cmdfile, const std::string& console_input) {
    DialogueRun r;
    std::ostringstream con;
    std::istringstream in(console_input);
    Io io(con, in);
    io.units.open_in_memory();
    r.job->CMDFILE = cmdfile;
    try {
        ASKIT(io, *r.job);
    } catch (const EngineStop& stop) {
        r.stopped = true;
        r.status = stop.status_lines();
    }
    r.console = con.str();
    r.report = io.units.contents(Unit::FT06);
    return r;
}

// Writes the job text to a file in a fresh folder and runs the dialogue on it.
inline DialogueRun run_job_text(const std::string& text) {
    TempDir dir;
    std::string path = dir.file("job.txt");
    write_file(path, text);
    return run_dialogue(path, "");
}

// An expected text file from tests/data: an empty line stands for a
// free-format blank record (one blank), a line ending in "$" ends just before
// it (its trailing blanks made visible), and a line ending in "@N" is padded
// with blanks to N characters (the 256-character text fields).
inline std::vector<std::string> expected_lines(const std::string& name) {
    std::vector<std::string> out;
    for (std::string l : split_lines(read_file(test_data_dir() + "/" + name))) {
        if (l.empty()) l.push_back(' ');
        if (l.back() == '$') l.pop_back();
        std::size_t at = l.rfind('@');
        if (at != std::string::npos && at + 1 < l.size() &&
            l.find_first_not_of("0123456789", at + 1) == std::string::npos) {
            std::size_t width = std::stoul(l.substr(at + 1));
            l.resize(at);
            if (l.size() < width) l.resize(width, ' ');
        }
        out.push_back(l);
    }
    return out;
}

// Compares line by line so a failure names the first line that differs.
inline void expect_same_lines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    std::size_t n = std::max(actual.size(), expected.size());
    for (std::size_t k = 0; k < n; ++k) {
        std::string a = k < actual.size() ? actual[k] : "<missing>";
        std::string e = k < expected.size() ? expected[k] : "<missing>";
        EXPECT_EQ(a, e) << "line " << k + 1;
        if (a != e) return;
    }
}

}  // namespace vorm::test
