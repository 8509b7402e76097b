#include "common/filestream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorm {

std::string not_a_plain_file(mode_t mode) {
    if (S_ISREG(mode)) return std::string();
    if (S_ISDIR(mode)) return std::strerror(EISDIR);
    const char* kind = S_ISFIFO(mode)                   ? "a named pipe"
                       : S_ISLNK(mode)                  ? "a symbolic link"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISSOCK(mode)                 ? "a socket"
                                                        : "something else";
    return std::string("Is ") + kind + ", not a plain file";
}

std::string file_and_reason(const std::string& path, const std::string& why) {
    std::string line(1, ' ');
    // A NUL would end the line for many a reader of the message.
    for (char c : path) c == '\0' ? line.append("\\0") : line.append(1, c);
    line.append(": ").append(why);
    return line;
}

int keep_plain_file(int fd, std::string* why) {
    struct stat st {};
    *why = fstat(fd, &st) != 0 ? std::strerror(errno) : not_a_plain_file(st.st_mode);
    if (!why->empty()) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int open_plain_file(const std::string& path, std::string* why) {
    // The system would read the name only up to the NUL: another file.
    if (path.find('\0') != std::string::npos) {
        *why = "The path holds a NUL character";
        return -1;
    }
    // A device is not even opened: opening some has effects of its own.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        *why = std::strerror(errno);
        return -1;
    }
    *why = not_a_plain_file(st.st_mode);
    if (!why->empty()) return -1;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = std::strerror(errno);
        return -1;
    }
    return keep_plain_file(fd, why);
}

FileStream::FileStream(int fd, std::ios::openmode mode) : std::iostream(nullptr), buf_(fd, mode) {
    rdbuf(&buf_);
    if (!buf_.is_open()) {
        if (fd >= 0) ::close(fd);
        setstate(std::ios::failbit);
    }
}

bool FileStream::close() {
    if (!buf_.is_open()) return false;
    const bool flushed = !flush().fail();
    const bool closed = buf_.close() != nullptr;
    if (!closed) setstate(std::ios::failbit);
    return flushed && closed;
}

bool FileStream::empty() {
    if (!buf_.is_open() || flush().fail()) return false;
    if (ftruncate(buf_.fd(), 0) != 0) return false;
    clear();
    return buf_.pubseekpos(0) == std::streampos(0);
}

}  // namespace vorm
