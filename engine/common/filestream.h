// Plain files, and a stream over a file opened by its descriptor.
//
// A named pipe, a device or a folder where the engine expects a file would
// hold it up for ever (a pipe that nobody writes), feed it without end (a
// device) or take its lines into nothing (/dev/null).  Files are therefore
// opened without blocking and kept only when they are regular files; the
// stream over such a file then reads, writes and seeks as a file stream does.
#pragma once

#include <sys/types.h>

#include <ext/stdio_filebuf.h>
#include <iostream>
#include <string>

namespace vorm {

// Why an entry of this type is no plain file ("Is a named pipe, not a plain
// file"); empty for a regular file.
std::string not_a_plain_file(mode_t mode);

// The line of a message that names a file and why it cannot be used:
// " path: reason", a NUL character in the path shown as "\0".
std::string file_and_reason(const std::string& path, const std::string& why);

// Keeps `fd`, opened without blocking, when it is a plain file, and lets it
// block from then on; otherwise closes it, returns -1 and *why gives the
// reason.  The entry may have been replaced since it was looked at by name.
int keep_plain_file(int fd, std::string* why);

// Opens the file at `path` to read it, when it is a plain file (a link to
// one is taken).  Otherwise returns -1 and *why gives the reason in the
// system's words.
int open_plain_file(const std::string& path, std::string* why);

// A stream over the descriptor `fd`, which it owns; a negative descriptor
// gives a stream that is not open, so that every read fails.
class FileStream : public std::iostream {
public:
    FileStream(int fd, std::ios::openmode mode);
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    bool is_open() const { return buf_.is_open(); }
    // Flushes and closes the file; false when anything written was lost.
    bool close();
    // Empties the file, to be written again from its start; false when
    // anything written to it before was lost or it cannot be emptied.
    bool empty();

private:
    __gnu_cxx::stdio_filebuf<char> buf_;
};

}  // namespace vorm
