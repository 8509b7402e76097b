#include "TempOutputs.h"

#include <QDir>
#include <QFile>

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

}  // namespace vormgui
