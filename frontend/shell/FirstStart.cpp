#include "FirstStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "mFileSystem.h"
#include "platform/AppPaths.h"
#include "platform/FileListing.h"
#include "platform/Services.h"

namespace vormgui {

namespace {

struct CopyFailures {
    QString title;  // the first failure's description
    QStringList lines;

    void add(const QString& name, const QString& reason) {
        if (title.isEmpty()) title = reason;
        lines << name + QStringLiteral(": ") + reason;
    }
};

// Existing copies are overwritten.
void copyFiles(const QString& sourceFolder, const QStringList& names, const QString& targetFolder,
               CopyFailures& failures) {
    if (!QDir().mkpath(targetFolder)) {
        failures.add(targetFolder, QStringLiteral("The folder cannot be created"));
        return;
    }
    for (const QString& name : names) {
        const QString target = targetFolder + name;
        QFile source(sourceFolder + name);
        if (QFileInfo::exists(target) && !QFile::remove(target)) {
            failures.add(name, QStringLiteral("The old copy cannot be replaced"));
        } else if (!source.copy(target)) {
            failures.add(name, source.errorString());
        }
    }
}

void reportFailures(Services& services, const QString& what, const QString& targetFolder,
                    const CopyFailures& failures) {
    if (failures.lines.isEmpty()) return;
    services.message(QStringLiteral("Could not copy %1 to directory '%2':\n").arg(what, targetFolder) +
                         failures.lines.join(QLatin1Char('\n')),
                     failures.title, MsgIcon::Exclamation, MsgButtons::Ok);
}

bool askToCopy(Services& services, const QString& what, const QString& targetFolder, const QString& title) {
    return services.message(QStringLiteral("Copy %1 to directory '%2'?").arg(what, targetFolder), title, MsgIcon::None,
                            MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace

void firstStart(Services& services, const AppPaths& paths, const QString& title) {
    if (folderExists(paths.workDir())) return;
    if (!QDir().mkpath(paths.workDir()))
        services.message(QStringLiteral("The work folder %1 cannot be created.").arg(paths.workDir()),
                         QStringLiteral("The folder cannot be created"), MsgIcon::Critical, MsgButtons::Ok);

    const QString examplesTarget = paths.examplesCopyDir();
    if (askToCopy(services, QStringLiteral("example files"), examplesTarget, title)) {
        CopyFailures failures;
        if (!folderExists(paths.examplesDir()))
            failures.add(paths.examplesDir(), QStringLiteral("The folder does not exist"));
        else
            copyFiles(paths.examplesDir(), listFiles(paths.examplesDir(), QStringLiteral("*")), examplesTarget,
                      failures);
        reportFailures(services, QStringLiteral("the example files"), examplesTarget, failures);
    }

    const QString manualTarget = paths.manualCopyDir();
    if (askToCopy(services, QStringLiteral("manual and readme files"), manualTarget, title)) {
        CopyFailures failures;
        copyFiles(paths.manualDir(),
                  {QStringLiteral("uguide.pdf"), QStringLiteral("techman.pdf"), QStringLiteral("readme.txt")},
                  manualTarget, failures);
        reportFailures(services, QStringLiteral("the manual and readme files"), manualTarget, failures);
    }
}

}  // namespace vormgui
