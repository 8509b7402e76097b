// Where the front end finds its own files and keeps the engine's.
//
// The application folder is the folder of the program file: the help pages,
// the examples, the manuals and the engine lie beside it.  The work folder is
// TEMPFILE/ there, or vorm/TEMPFILE/ in the user's data folder when the
// application folder cannot be written (an installed copy).  First-start
// copies go to VORM2004/ in the user's home folder.  Every folder returned
// here ends in '/', and every path that a message shows is built here.
#pragma once

#include <QByteArray>
#include <QString>

namespace vormgui {

class AppPaths {
public:
    // The folders of the running program.
    static AppPaths forRunningProgram();
    // The folders of a program in `folder`, given byte for byte: a name that
    // is not UTF-8 is reached as NativePath.h tells.
    static AppPaths forProgramFolder(const QByteArray& folder);
    // Given folders (tests); each may end in '/' or not.
    AppPaths(const QString& appFolder, const QString& workFolder, const QString& homeFolder);

    QString appDir() const { return appDir_; }
    QString helpDir() const { return appDir_ + QStringLiteral("help/"); }
    QString examplesDir() const { return appDir_ + QStringLiteral("examples/"); }
    QString manualDir() const { return appDir_ + QStringLiteral("manual/"); }
    QString engineProgram() const { return appDir_ + QStringLiteral("VORMCALC"); }
    QString workDir() const { return workDir_; }
    QString workFile(const QString& name) const { return workDir_ + name; }
    QString copiesDir() const { return homeDir_ + QStringLiteral("VORM2004/"); }
    QString examplesCopyDir() const { return copiesDir() + QStringLiteral("Examples/"); }
    QString manualCopyDir() const { return copiesDir() + QStringLiteral("Manual/"); }

private:
    QString appDir_;
    QString workDir_;
    QString homeDir_;
};

}  // namespace vormgui
