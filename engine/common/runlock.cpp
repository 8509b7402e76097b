#include "common/runlock.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/workfolder.h"

namespace vorm {

namespace {

long pid_in(int fd) {
    char buf[32] = {};
    const ssize_t n = pread(fd, buf, sizeof buf - 1, 0);
    if (n <= 0) return 0;
    long pid = 0;
    for (ssize_t k = 0; k < n && buf[k] >= '0' && buf[k] <= '9' && pid < 100000000L; ++k)
        pid = pid * 10 + (buf[k] - '0');
    return pid;
}

}  // namespace

RunLock::RunLock(const std::string& wrkdir) : path_(work_file(wrkdir, "VORMCALC.lock")) {
    fd_ = open_work_file(wrkdir, "VORMCALC.lock", WorkFolder::Mode::Lock, &why_);
    if (fd_ < 0) return;
    int rc;
    do {
        rc = flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        state_ = errno == EWOULDBLOCK ? State::Busy : State::Failed;
        if (state_ == State::Failed) why_ = std::strerror(errno);
        if (state_ == State::Busy) holder_ = pid_in(fd_);
        close(fd_);
        fd_ = -1;
        return;
    }
    state_ = State::Held;
    // Only for the message of a run that finds the folder held: without it
    // the lock holds all the same.
    const std::string pid = std::to_string(static_cast<long>(getpid())) + "\n";
    [[maybe_unused]] const bool noted =
        ftruncate(fd_, 0) == 0 && pwrite(fd_, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

RunLock::~RunLock() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace vorm
