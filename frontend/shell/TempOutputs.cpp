#include "TempOutputs.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

#include "platform/FileListing.h"

namespace vormgui {

QStringList clearTempOutputs(const QString& workFolder, const std::function<bool(const QString&)>& remove) {
    const QDir dir(workFolder);
    QStringList kept;
    for (const char* pattern : {"ft*.*", "plot*.*"}) {
        for (const QString& name : listFiles(workFolder, QString::fromLatin1(pattern))) {
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

}  // namespace vormgui
