// The work folder that a run holds from its start to its end.
//
// A path names a folder only at the moment it is looked up: a folder moved
// away during a run, and a new one made under its name, would split the run's
// files between the two, and a second run would lock the new folder while the
// first still writes.  A run therefore opens its folder once and opens every
// file of its own (unit files, status, lock, plot files) relative to that,
// and before it reports its end it checks that the path still names it.
//
// A file the engine writes there is a plain file that it creates or empties
// itself: an entry of that name that is a named pipe, a device, a symbolic
// link or a folder is refused before anything can block on it.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

namespace vorm {

class WorkFolder {
public:
    enum class Mode {
        Write,   // created or emptied, written only
        Update,  // created or emptied, read back as well
        Lock,    // created when missing, kept as it is
        Read     // a file that must be there
    };

    // Opens the folder at `path` (a path ending in the separator); is_open()
    // tells whether that succeeded and error() why not.
    explicit WorkFolder(std::string path);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool is_open() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

    // Opens the file `name` of the folder; returns its descriptor, or -1 with
    // the reason in *why.
    int open(std::string_view name, Mode mode, std::string* why) const;
    // What became of the folder since it was opened: the path still names
    // it, or it was removed, or the path names another folder, or none.
    enum class Now { Here, Removed, Replaced, Moved };
    Now now() const;

    // Removes every plain file whose name begins with `prefix`, in any letter
    // case; links (never their targets), folders and other entries stay.
    // Returns false, with the reason in *why, when the folder cannot be
    // listed; each file that could not be removed is added to *kept as
    // "name: reason".
    bool remove_plain_files(std::string_view prefix, std::vector<std::string>* kept, std::string* why) const;

private:
    std::string path_;
    std::string error_;
    int fd_ = -1;
    struct stat held_ {};
};

// The folder of the run: while one is held, the files that the stages name
// by the work folder's path are opened in it.
class HoldWorkFolder {
public:
    explicit HoldWorkFolder(const WorkFolder& folder);
    ~HoldWorkFolder();
    HoldWorkFolder(const HoldWorkFolder&) = delete;
    HoldWorkFolder& operator=(const HoldWorkFolder&) = delete;

private:
    const WorkFolder* previous_;
};

// Opens `name` in the work folder `wrkdir`: in the folder held when its path
// is `wrkdir`, otherwise in the folder that the path names now (a stage run
// on its own).  Returns the descriptor, or -1 with the reason in *why.
int open_work_file(const std::string& wrkdir, std::string_view name, WorkFolder::Mode mode, std::string* why);

}  // namespace vorm
