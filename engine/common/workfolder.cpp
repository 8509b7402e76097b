#include "common/workfolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "common/filestream.h"

namespace vorm {

namespace {

const WorkFolder* held_folder = nullptr;

int open_flags(WorkFolder::Mode mode) {
    switch (mode) {
        case WorkFolder::Mode::Write:
            return O_WRONLY | O_CREAT | O_TRUNC;
        case WorkFolder::Mode::Update:
            return O_RDWR | O_CREAT | O_TRUNC;
        case WorkFolder::Mode::Lock:
            return O_RDWR | O_CREAT;
        case WorkFolder::Mode::Read:
            break;
    }
    return O_RDONLY;
}

}  // namespace

WorkFolder::WorkFolder(std::string path) : path_(std::move(path)) {
    // The folder is only a place to open files in: a folder that may be
    // written but not listed serves as well.
#ifdef O_PATH
    fd_ = ::open(path_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
#else
    fd_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
    if (fd_ < 0 || fstat(fd_, &held_) != 0) {
        error_ = std::strerror(errno);
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
}

WorkFolder::~WorkFolder() {
    if (fd_ >= 0) close(fd_);
}

int WorkFolder::open(std::string_view name, Mode mode, std::string* why) const {
    if (fd_ < 0) {
        *why = error_;
        return -1;
    }
    const std::string file(name);
    // Nothing but a plain file is opened: a pipe or a device could block the
    // open itself, and a link would lead out of the folder.
    struct stat st {};
    if (fstatat(fd_, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        *why = not_a_plain_file(st.st_mode);
        if (!why->empty()) return -1;
    } else if (errno != ENOENT || mode == Mode::Read) {
        *why = std::strerror(errno);
        return -1;
    }
    const int fd = openat(fd_, file.c_str(), open_flags(mode) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        // An entry put there since it was looked at.
        *why = fstatat(fd_, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? not_a_plain_file(st.st_mode) : std::string();
        if (why->empty()) *why = std::strerror(error);
        return -1;
    }
    return keep_plain_file(fd, why);
}

WorkFolder::Now WorkFolder::now() const {
    struct stat held {};
    // A removed folder keeps its descriptor, without a link to it.
    if (fstat(fd_, &held) == 0 && held.st_nlink == 0) return Now::Removed;
    struct stat named {};
    if (stat(path_.c_str(), &named) != 0) return Now::Moved;
    return named.st_dev == held_.st_dev && named.st_ino == held_.st_ino ? Now::Here : Now::Replaced;
}

bool WorkFolder::remove_plain_files(std::string_view prefix, std::vector<std::string>* kept, std::string* why) const {
    // The held descriptor only names the place; a listing needs one of its own.
    const int list_fd = fd_ < 0 ? -1 : openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = list_fd < 0 ? nullptr : fdopendir(list_fd);
    if (!dir) {
        *why = fd_ < 0 ? error_ : std::strerror(errno);
        if (list_fd >= 0) close(list_fd);
        return false;
    }
    auto begins_with_prefix = [prefix](std::string_view name) {
        if (name.size() < prefix.size()) return false;
        for (std::size_t k = 0; k < prefix.size(); ++k)
            if (std::tolower(static_cast<unsigned char>(name[k])) !=
                std::tolower(static_cast<unsigned char>(prefix[k])))
                return false;
        return true;
    };
    // The names first: removing entries while the listing runs may make it
    // skip or repeat some.
    std::vector<std::string> names;
    while (const dirent* e = readdir(dir))
        if (begins_with_prefix(e->d_name)) names.emplace_back(e->d_name);
    closedir(dir);
    for (const std::string& name : names) {
        struct stat st {};
        if (fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        // Should the entry have become a link meanwhile, the link goes, not its target.
        if (unlinkat(fd_, name.c_str(), 0) != 0 && errno != ENOENT) kept->push_back(name + ": " + std::strerror(errno));
    }
    return true;
}

HoldWorkFolder::HoldWorkFolder(const WorkFolder& folder) : previous_(held_folder) { held_folder = &folder; }

HoldWorkFolder::~HoldWorkFolder() { held_folder = previous_; }

int open_work_file(const std::string& wrkdir, std::string_view name, WorkFolder::Mode mode, std::string* why) {
    if (held_folder && held_folder->path() == wrkdir) return held_folder->open(name, mode, why);
    const WorkFolder folder(wrkdir);
    return folder.open(name, mode, why);
}

}  // namespace vorm
