// Folder names that Qt cannot hold.  Qt turns a file name into a QString as
// UTF-8 and gives up on bytes that are not UTF-8: it reports no program
// folder for a program in "prog dir \xe9\xff" and cannot open a file there.
// Such a folder is reached through a descriptor held open for the life of the
// program, named "/proc/self/fd/<n>", which every Qt file function resolves
// to the very folder; the engine, another process, is given the folder's own
// bytes.
#pragma once

#include <QByteArray>
#include <QString>

namespace vormgui {

// The folder of the running program's file, byte for byte, without a
// trailing '/'; empty when the system does not say.
QByteArray runningProgramFolder();

// A name of `folder` by which Qt's file functions reach exactly that folder:
// its own name when its bytes are UTF-8, else the descriptor's name.  Empty
// when the folder cannot be opened.
QString folderForQt(const QByteArray& folder);

// The bytes that name `path` for the system and for another process: the
// folder's own bytes in place of a descriptor's name that folderForQt gave.
QByteArray nativePath(const QString& path);

// `text` with each descriptor's name replaced by its folder's own name, for a
// person to read: bytes that are not UTF-8 show as U+FFFD.
QString withFolderNames(const QString& text);

}  // namespace vormgui
