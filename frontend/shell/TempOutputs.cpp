#include "TempOutputs.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <cerrno>

#include "platform/FileListing.h"

namespace vormgui {

QStringList clearTempOutputs(const QString& workFolder, const std::function<bool(const QString&)>& remove) {
    const QDir dir(workFolder);
    QStringList kept;
    for (const char* pattern : {"ft*.*", "plot*.*"}) {
        // Not only plain files: a pipe named like a unit file would hang
        // the next engine that opens it.
        for (const QString& name : listAllButFolders(workFolder, QString::fromLatin1(pattern))) {
            const QString path = dir.filePath(name);
            if (!(remove ? remove(path) : QFile::remove(path))) kept << name;
        }
    }
    return kept;
}

const QString WorkFolder::kLockFile = QStringLiteral("VORM.lock");

WorkFolder::WorkFolder(const QString& folder)
    : folder_(folder), lock_(std::make_unique<QLockFile>(QDir(folder).filePath(kLockFile))) {
    // Held for the program's whole life: a lock is stale only when its
    // program has gone, never because it is old.
    lock_->setStaleLockTime(0);
}

WorkFolder::~WorkFolder() = default;

bool WorkFolder::hold(QString* refusal) {
    if (lock_->isLocked() || lock_->tryLock(0)) return true;
    if (!refusal) return false;
    qint64 pid = 0;
    QString host, program;
    if (lock_->error() == QLockFile::LockFailedError && lock_->getLockInfo(&pid, &host, &program))
        *refusal = QStringLiteral("The work folder %1 is in use by another VORM (process %2).").arg(folder_).arg(pid);
    else if (lock_->error() == QLockFile::LockFailedError)
        *refusal = QStringLiteral("The work folder %1 is in use by another VORM.").arg(folder_);
    else
        *refusal = QStringLiteral("The work folder %1 cannot be locked (%2).")
                       .arg(folder_, lock_->error() == QLockFile::PermissionError
                                         ? QStringLiteral("no permission to create %1").arg(kLockFile)
                                         : QStringLiteral("%1 cannot be created").arg(kLockFile));
    return false;
}

bool WorkFolder::held() const { return lock_->isLocked(); }

bool WorkFolder::engineRuns() const {
    const QByteArray path = QFile::encodeName(QDir(folder_).filePath(QStringLiteral("VORMCALC.lock")));
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // A shared lock cannot be had while the engine holds its exclusive one;
    // when it can, it is given back at once.
    int rc;
    do {
        rc = flock(fd, LOCK_SH | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    const bool running = rc != 0 && errno == EWOULDBLOCK;
    close(fd);
    return running;
}

}  // namespace vormgui
