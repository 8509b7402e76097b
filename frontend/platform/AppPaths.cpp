#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "NativePath.h"

namespace vormgui {

namespace {
QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
}  // namespace

AppPaths::AppPaths(const QString& appFolder, const QString& workFolder, const QString& homeFolder)
    : appDir_(withSlash(appFolder)), workDir_(withSlash(workFolder)), homeDir_(withSlash(homeFolder)) {}

AppPaths AppPaths::forRunningProgram() {
    // Qt's own answer loses a folder whose name is not UTF-8.
    const QByteArray folder = runningProgramFolder();
    if (folder.isEmpty()) return forProgramFolder(QFile::encodeName(QCoreApplication::applicationDirPath()));
    return forProgramFolder(folder);
}

AppPaths AppPaths::forProgramFolder(const QByteArray& folder) {
    QString app = folderForQt(folder);
    if (app.isEmpty()) app = QFile::decodeName(folder);
    QString work = withSlash(app) + QStringLiteral("TEMPFILE");
    if (!QFileInfo(app).isWritable() && !QFileInfo(work).isWritable())
        work = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/vorm/TEMPFILE");
    return AppPaths(app, work, QDir::homePath());
}

}  // namespace vormgui
