#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vormgui {

namespace {
QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
}  // namespace

AppPaths::AppPaths(const QString& appFolder, const QString& workFolder, const QString& homeFolder)
    : appDir_(withSlash(appFolder)), workDir_(withSlash(workFolder)), homeDir_(withSlash(homeFolder)) {}

AppPaths AppPaths::forRunningProgram() {
    const QString app = QCoreApplication::applicationDirPath();
    QString work = withSlash(app) + QStringLiteral("TEMPFILE");
    if (!QFileInfo(app).isWritable() && !QFileInfo(work).isWritable())
        work = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/vorm/TEMPFILE");
    return AppPaths(app, work, QDir::homePath());
}

}  // namespace vormgui
