#include "gui_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

namespace vormgui::test {

TempFolder::TempFolder() { EXPECT_TRUE(dir_.isValid()); }

NonUtf8Folder::NonUtf8Folder() : bytes_(QFile::encodeName(parent()) + "/prog dir \xe9\xff") {
    std::filesystem::create_directories(path() / "TEMPFILE");
}

NonUtf8Folder::~NonUtf8Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path(), ignored);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

QStringList treeOf(const QString& folder) {
    QStringList names;
    const QDir root(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        QString name = root.relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) name += QLatin1Char('/');
        names << name;
    }
    names.sort();
    return names;
}

QString sourceDir() { return QStringLiteral(VORM_SOURCE_DIR "/"); }

QString popplerOutput(const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, arguments);
    EXPECT_TRUE(p.waitForFinished(30000)) << tool.toStdString() << " (poppler-utils) is needed";
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace vormgui::test
