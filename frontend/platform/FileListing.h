// The work folder as the engine's files are looked up in it: without regard
// to letter case, since the engine writes "FT06F001" and "PLOT5...DAT" while
// the front end asks for "ft*.*" or "tempfile/cmdfle".
#pragma once

#include <QString>
#include <QStringList>

namespace vormgui {

// Wildcard match ignoring letter case: '*' any run of characters, '?' one
// character.  A pattern ending in ".*" also matches names without an
// extension, so "ft*.*" takes "FT06F001" and "ft99" as well as "ft.x".
bool wildcardMatch(const QString& pattern, const QString& name);

// The names of the plain files of `folder` (no folders, no hidden files)
// that match `pattern`, sorted by name without regard to case and not
// numerically ("PLOT10" before "PLOT2").  Empty when the folder cannot be read.
QStringList listFiles(const QString& folder, const QString& pattern);

// The names of every entry of `folder` but its folders that match
// `pattern`: plain and hidden files, named pipes, sockets, devices and links
// of any kind (to a folder, or to nothing any more), sorted as listFiles
// sorts.  Empty when the folder cannot be read.
QStringList listAllButFolders(const QString& folder, const QString& pattern);

// The path of the file of `folder` named `name` in any letter case, or an
// empty string when there is none.
QString findFile(const QString& folder, const QString& name);

}  // namespace vormgui
