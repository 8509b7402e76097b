// Paths of the engine: the work folder and the files in it.
//
// This platform separates folders with '/'.  A path given with backslashes
// (as a job written elsewhere may hold) is taken with '/' in their place.
#pragma once

#include <string>
#include <string_view>

namespace vorm {

constexpr char kSep = '/';

// Backslashes become the native separator.
std::string native_path(std::string_view path);
// Trailing blanks (and a trailing CR) removed.
std::string trim_right(std::string_view s);
// The work folder from command-line argument 2: blank gives "TEMPFILE/";
// otherwise trailing blanks are dropped and a separator is appended when the
// last character is not one.
std::string work_folder(std::string_view arg);
// `path` from the root, as a message names the file it looked for; as given
// when the current folder cannot be told.
std::string absolute_path(const std::string& path);
// A file in the work folder.
std::string work_file(const std::string& wrkdir, std::string_view name);

}  // namespace vorm
