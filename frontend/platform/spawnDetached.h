// Starting a program that outlives the caller, with every name given as the
// bytes the system takes: QProcess takes QStrings, which cannot hold a folder
// name that is not UTF-8 (NativePath.h).
#pragma once

#include <QByteArray>
#include <QList>

namespace vormgui {

// Starts `program` (a path) with `arguments` in the folder `folder`, its
// standard input, output and error on the null device, as a process that is
// not the caller's child (it never stays behind as a zombie).  Returns its
// process id, or 0 when it could not be started: the folder cannot be
// entered, or the program is missing or cannot be executed.
qint64 spawnDetached(const QByteArray& program, const QList<QByteArray>& arguments, const QByteArray& folder);

}  // namespace vormgui
