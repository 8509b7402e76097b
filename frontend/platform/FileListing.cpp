#include "FileListing.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace vormgui {

namespace {

// Iterative glob with one backtrack point: linear in practice, and no
// recursion depth that a long name could exhaust.
bool globMatch(const QString& pattern, const QString& name) {
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == QLatin1Char('?') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*')) ++p;
    return p == pattern.size();
}

void sortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

}  // namespace

bool wildcardMatch(const QString& pattern, const QString& name) {
    if (globMatch(pattern, name)) return true;
    return pattern.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.')) &&
           globMatch(pattern.chopped(2), name);
}

QStringList listFiles(const QString& folder, const QString& pattern) {
    const QDir dir(folder);
    QStringList names;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort))
        if (wildcardMatch(pattern, entry.fileName())) names << entry.fileName();
    sortNames(names);
    return names;
}

QStringList listAllButFolders(const QString& folder, const QString& pattern) {
    const QDir dir(folder);
    QStringList names;
    // System brings the pipes, sockets, devices and links whose target is gone.
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort))
        if ((!entry.isDir() || entry.isSymLink()) && wildcardMatch(pattern, entry.fileName()))
            names << entry.fileName();
    sortNames(names);
    return names;
}

QString findFile(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (dir.exists(name)) return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::NoDotAndDotDot))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return QString();
}

}  // namespace vormgui
