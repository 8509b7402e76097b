// Helpers of the front-end tests.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace vormgui::test {

// A fresh empty folder, removed with everything in it when the object dies.
class TempFolder {
public:
    TempFolder();
    // The folder, ending in '/'.
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

// A fresh folder "prog dir \xe9\xff", whose name is not UTF-8, with an empty
// TEMPFILE/ in it; removed with everything in it when the object dies, as
// Qt's own clean-up does not see such a name.
class NonUtf8Folder {
public:
    NonUtf8Folder();
    ~NonUtf8Folder();
    // The folder it lies in, without links and without a trailing '/'.
    QString parent() const { return QDir(root_.path()).canonicalPath(); }
    // The folder's full name, byte for byte, without a trailing '/'.
    const QByteArray& bytes() const { return bytes_; }
    std::filesystem::path path() const { return std::filesystem::path(bytes_.toStdString()); }

private:
    TempFolder root_;
    QByteArray bytes_;
};

void writeFile(const QString& path, const QByteArray& bytes = QByteArray());
QByteArray readFile(const QString& path);
// Every name below `folder` (folders end in '/'), relative to it and sorted.
QStringList treeOf(const QString& folder);
// The repository's root folder, ending in '/'.
QString sourceDir();
// What a tool of poppler-utils (pdftotext, pdfimages) writes to its standard
// output for `arguments`.
QString popplerOutput(const QString& tool, const QStringList& arguments);

}  // namespace vormgui::test
