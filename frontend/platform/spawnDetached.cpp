#include "spawnDetached.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace vormgui {

namespace {

// What the two forked processes tell the caller through the pipe: a kind,
// 'P' with the program's process id or 'E' with the error of a failure, and
// that value.
using Report = int[2];

void tell(int fd, int kind, int value) {
    const Report report{kind, value};
    // Shorter than a pipe's atomic size: written whole or not at all.
    while (::write(fd, report, sizeof report) < 0 && errno == EINTR) {
    }
}

}  // namespace

qint64 spawnDetached(const QByteArray& program, const QList<QByteArray>& arguments, const QByteArray& folder) {
    // Everything the children use is made before the fork: after it, only
    // calls that are safe in a child of a threaded program.
    std::vector<QByteArray> words{program};
    for (const QByteArray& argument : arguments) words.push_back(argument);
    std::vector<char*> argv;
    for (QByteArray& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const QByteArray folderName = folder;

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return 0;
    const pid_t middle = ::fork();
    if (middle < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return 0;
    }
    if (middle == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        const pid_t engine = ::fork();
        if (engine == 0) {
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction standard = {};
            standard.sa_handler = SIG_DFL;
            ::sigaction(SIGPIPE, &standard, nullptr);
            if (!folderName.isEmpty() && ::chdir(folderName.constData()) != 0) {
                tell(pipeFds[1], 'E', errno);
                ::_exit(127);
            }
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, 0);
                ::dup2(null, 1);
                ::dup2(null, 2);
                if (null > 2) ::close(null);
            }
            ::execv(argv[0], argv.data());
            tell(pipeFds[1], 'E', errno);
            ::_exit(127);
        }
        tell(pipeFds[1], engine > 0 ? 'P' : 'E', engine > 0 ? engine : errno);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe ends when the program has been executed (the descriptor
    // closes on exec) or its process has ended.
    qint64 pid = 0;
    bool failed = false;
    Report report;
    for (;;) {
        const ssize_t got = ::read(pipeFds[0], report, sizeof report);
        if (got < 0 && errno == EINTR) continue;
        if (got != static_cast<ssize_t>(sizeof report)) break;
        if (report[0] == 'P')
            pid = report[1];
        else
            failed = true;
    }
    ::close(pipeFds[0]);
    return failed ? 0 : pid;
}

}  // namespace vormgui
