#include "mFileSystem.h"

#include <QFileInfo>

namespace vormgui {

namespace {
bool isSeparator(QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); }
}  // namespace

QString folderOfPath(const QString& path) {
    for (qsizetype i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1])) return path.left(i);
    return QString();
}

QString addBackslash(const QString& path) {
    if (!path.isEmpty() && isSeparator(path.back())) return path;
    return path + QLatin1Char('/');
}

bool folderExists(const QString& path) { return QFileInfo(addBackslash(folderOfPath(path))).isDir(); }

}  // namespace vormgui
