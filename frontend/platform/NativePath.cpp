#include "NativePath.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QList>
#include <QMutex>
#include <utility>

namespace vormgui {

namespace {

// The descriptors' names made so far, with the bytes of their folders.
struct Aliases {
    QMutex lock;
    QList<std::pair<QString, QByteArray>> made;
};

Aliases& aliases() {
    static Aliases all;
    return all;
}

QByteArray readLink(const QByteArray& path) {
    QByteArray target(4096, '\0');
    for (;;) {
        const ssize_t got = ::readlink(path.constData(), target.data(), static_cast<size_t>(target.size()));
        if (got < 0) return QByteArray();
        if (got < target.size()) return target.left(got);
        target.resize(target.size() * 2);
    }
}

}  // namespace

QByteArray runningProgramFolder() {
    const QByteArray program = readLink("/proc/self/exe");
    const qsizetype slash = program.lastIndexOf('/');
    if (slash < 0) return QByteArray();
    return slash == 0 ? QByteArray("/") : program.left(slash);
}

QString folderForQt(const QByteArray& folder) {
    const QString name = QFile::decodeName(folder);
    if (QFile::encodeName(name) == folder) return name;
    const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return QString();
    const QString alias = QStringLiteral("/proc/self/fd/%1").arg(fd);
    Aliases& all = aliases();
    const QMutexLocker hold(&all.lock);
    all.made.append({alias, folder});
    return alias;
}

QByteArray nativePath(const QString& path) {
    Aliases& all = aliases();
    const QMutexLocker hold(&all.lock);
    for (const auto& [alias, folder] : std::as_const(all.made))
        if (path == alias || path.startsWith(alias + QLatin1Char('/'))) {
            // Where the folder is now, should it have been renamed since.
            QByteArray now = readLink(QFile::encodeName(alias));
            if (now.isEmpty() || now.endsWith(" (deleted)")) now = folder;
            return now + QFile::encodeName(path.mid(alias.size()));
        }
    return QFile::encodeName(path);
}

QString withFolderNames(const QString& text) {
    Aliases& all = aliases();
    const QMutexLocker hold(&all.lock);
    QString shown = text;
    for (const auto& [alias, folder] : std::as_const(all.made))
        shown.replace(alias + QLatin1Char('/'), QString::fromUtf8(folder) + QLatin1Char('/'));
    return shown;
}

}  // namespace vormgui
