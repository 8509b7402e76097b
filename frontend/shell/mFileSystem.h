// Path routines of the front end.  Folders end in the separator '/'; a path
// that comes with '\' separators (a job written elsewhere) is taken as well.
#pragma once

#include <QString>

namespace vormgui {

// The text of `path` up to and including its last separator; empty when it
// holds none ("/a/b.txt" gives "/a/").
QString folderOfPath(const QString& path);

// `path` with a separator at its end: "/a" and "/a/" both give "/a/".
QString addBackslash(const QString& path);

// True when the folder part of `path` (up to its last separator) is an
// existing folder, so callers pass folder paths that end in a separator (a
// path without any separator tests the root folder).
bool folderExists(const QString& path);

}  // namespace vormgui
