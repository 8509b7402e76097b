// Helpers of the front-end tests.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
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
