#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace vormgui {

OutputFileRead readOutputFile(const QString& path) {
    OutputFileRead read;
    // Without O_NONBLOCK, opening a pipe would wait for a writer.  The checks
    // look at the file that was opened, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.status = OutputFileRead::Status::Unreadable;
        read.reason = qt_error_string(errno);
        return read;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        read.status = OutputFileRead::Status::Unreadable;
        read.reason = qt_error_string(errno);
    } else if (!S_ISREG(info.st_mode)) {
        read.status = OutputFileRead::Status::NotAFile;
    } else if (info.st_size > kMaxOutputFileBytes) {
        read.status = OutputFileRead::Status::TooLarge;
    } else {
        // One byte beyond the bound tells a file that grew since.
        read.bytes = file.read(kMaxOutputFileBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            read.status = OutputFileRead::Status::Unreadable;
            read.reason = file.errorString();
            read.bytes.clear();
        } else if (read.bytes.size() > kMaxOutputFileBytes) {
            read.status = OutputFileRead::Status::TooLarge;
            read.bytes.clear();
        }
    }
    return read;
}

QString refusedFileText(const OutputFileRead& read, const QString& path) {
    if (read.status == OutputFileRead::Status::TooLarge)
        return QStringLiteral("The file %1 is larger than %2 MB, far larger than any run writes, so it is not read.")
            .arg(path)
            .arg(kMaxOutputFileBytes >> 20);
    return QStringLiteral("The file %1 is not a regular file, so it is not read.").arg(path);
}

}  // namespace vormgui
