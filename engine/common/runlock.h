// One engine at a time in a work folder.
//
// Two runs in one folder would write the same unit files: one report cut off
// by the other, parameter files of one job beside plots of the other.  A run
// holds an advisory lock on the file "VORMCALC.lock" in the work folder for
// its whole life; the lock belongs to the process, so it goes with it however
// the process ends, and a file left by a run that crashed holds nothing.  The
// file is separate from the front end's own lock, so the front end that
// started the run does not block it.
#pragma once

#include <string>

namespace vorm {

class RunLock {
public:
    enum class State {
        Held,   // this run holds the folder
        Busy,   // another run holds it; nothing was written
        Failed  // the lock file cannot be opened (a read-only folder, an entry that is no file)
    };

    // Tries once, never waits.  The file is created when missing; a file that
    // is there already is not touched unless the lock is taken.
    explicit RunLock(const std::string& wrkdir);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    State state() const { return state_; }
    const std::string& path() const { return path_; }
    // The process id that the holder wrote into the file, 0 when unknown.
    long holder() const { return holder_; }
    // Why the lock file cannot be opened (Failed).
    const std::string& why() const { return why_; }

private:
    std::string path_;
    int fd_ = -1;
    State state_ = State::Failed;
    long holder_ = 0;
    std::string why_;
};

}  // namespace vorm
