#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

namespace vormgui {

namespace {

// `whole`: a file larger than `maxBytes` is refused; otherwise only its first
// `maxBytes` are read.
OutputFileRead readPlainFile(const QString& path, qint64 maxBytes, bool whole) {
    OutputFileRead read;
    // Without O_NONBLOCK, opening a pipe would wait for a writer.  The checks
    // look at the file that was opened, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.status = OutputFileRead::Status::Unreadable;
        read.openError = errno;
        read.reason = qt_error_string(errno);
        return read;
    }
    QFile file;
    struct stat info {};
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        read.status = OutputFileRead::Status::Unreadable;
        read.reason = file.errorString();
    } else if (::fstat(fd, &info) != 0) {
        read.status = OutputFileRead::Status::Unreadable;
        read.reason = qt_error_string(errno);
    } else if (!S_ISREG(info.st_mode)) {
        read.status = OutputFileRead::Status::NotAFile;
    } else if (whole && info.st_size > maxBytes) {
        read.status = OutputFileRead::Status::TooLarge;
    } else {
        // A whole file is read to its end, which a file that grows meanwhile
        // may put beyond the bound as well.
        read.bytes.reserve(static_cast<qsizetype>(std::min<qint64>(info.st_size, maxBytes)));
        char chunk[1 << 16];
        qint64 got = 0;
        for (;;) {
            const qint64 room =
                whole ? qint64(sizeof chunk) : std::min<qint64>(sizeof chunk, maxBytes - read.bytes.size());
            if (room <= 0 || read.bytes.size() > maxBytes) break;
            got = file.read(chunk, room);
            if (got <= 0) break;
            read.bytes.append(chunk, static_cast<qsizetype>(got));
        }
        if (got < 0) {
            read.status = OutputFileRead::Status::Unreadable;
            read.reason = file.errorString();
        } else if (read.bytes.size() > maxBytes) {
            read.status = OutputFileRead::Status::TooLarge;
        }
        if (read.status != OutputFileRead::Status::Ok) read.bytes = QByteArray();
    }
    return read;
}

}  // namespace

OutputFileRead readOutputFile(const QString& path, qint64 maxBytes) { return readPlainFile(path, maxBytes, true); }

OutputFileRead readOutputFileStart(const QString& path, qint64 maxBytes) {
    return readPlainFile(path, maxBytes, false);
}

QString refusedFileText(const OutputFileRead& read, const QString& path) {
    if (read.status == OutputFileRead::Status::TooLarge)
        return QStringLiteral("The file %1 is larger than %2 MB, far larger than any run writes, so it is not read.")
            .arg(path)
            .arg(kMaxOutputFileBytes >> 20);
    return QStringLiteral("The file %1 is not a regular file, so it is not read.").arg(path);
}

}  // namespace vormgui
