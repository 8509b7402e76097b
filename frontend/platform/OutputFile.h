// Reading one of the engine's output files whole (reports, parameter files,
// plot files), a job file, or the first lines of the status file.  A full run
// writes a few megabytes at most, so a file far larger than that is no output
// of a run, and anything but a regular file (a device, a pipe, a folder) is
// none either: both are refused unread, as a report linked to /dev/zero would
// otherwise be read without end and a named pipe would keep the window
// waiting for a writer.
#pragma once

#include <QByteArray>
#include <QString>

namespace vormgui {

constexpr qint64 kMaxOutputFileBytes = qint64(64) << 20;

struct OutputFileRead {
    enum class Status { Ok, Unreadable, NotAFile, TooLarge };
    Status status = Status::Ok;
    QByteArray bytes;   // the whole file when Ok
    QString reason;     // Unreadable: the system's words
    int openError = 0;  // Unreadable because it could not be opened: errno
};

// Opens `path` (links followed) without waiting on it and reads it whole
// when it is a regular file of at most `maxBytes`.
OutputFileRead readOutputFile(const QString& path, qint64 maxBytes = kMaxOutputFileBytes);

// The same, but a longer file is not refused: its first `maxBytes` are read.
OutputFileRead readOutputFileStart(const QString& path, qint64 maxBytes);

// What a NotAFile or TooLarge read means for the user, naming the file.
QString refusedFileText(const OutputFileRead& read, const QString& path);

}  // namespace vormgui
