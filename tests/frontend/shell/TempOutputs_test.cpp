#include "shell/TempOutputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "gui_test_support.h"

namespace vormgui {
namespace {

using test::TempFolder;
using test::treeOf;

const QStringList kFiles{"FT06F001", "ft99", "plot7.dat", "PLOT4.SCR", "PLOTEAP.DAT"};
// Outputs that are no plain file: a named pipe, links to a file and to a
// folder outside the work folder, and a link whose target is gone.
const QStringList kOthers{"FT13F001", "plot9.dat", "ftLink", "PlotGone.scr"};
const QStringList kOutputs = kFiles + kOthers;
const QStringList kKept{"status", "CMDFLE", "data.txt", "xft06"};

void fillWorkFolder(const TempFolder& work, const TempFolder& outside) {
    for (const QString& name : kFiles + kKept) test::writeFile(work.file(name), "x");
    QDir(work.path()).mkdir(QStringLiteral("ftdir"));
    ASSERT_EQ(mkfifo(QFile::encodeName(work.file("FT13F001")).constData(), 0600), 0);
    test::writeFile(outside.file("target.dat"), "x");
    QDir(outside.path()).mkpath(QStringLiteral("folder/inside"));
    ASSERT_TRUE(QFile::link(outside.file("target.dat"), work.file("plot9.dat")));
    ASSERT_TRUE(QFile::link(outside.file("folder"), work.file("ftLink")));
    ASSERT_TRUE(QFile::link(outside.file("gone"), work.file("PlotGone.scr")));
}

// Also for what treeOf does not see: a pipe, a link to nothing.
bool present(const QString& path) {
    struct stat info;
    return lstat(QFile::encodeName(path).constData(), &info) == 0;
}

TEST(ClearTempOutputs, RemovesTheUnitAndPlotFilesPipesAndLinksAndNothingElse) {
    TempFolder work, outside;
    fillWorkFolder(work, outside);
    EXPECT_TRUE(clearTempOutputs(work.path()).isEmpty());
    EXPECT_EQ(treeOf(work.path()), (QStringList{"CMDFLE", "data.txt", "ftdir/", "status", "xft06"}));
    for (const QString& name : kOthers) EXPECT_FALSE(present(work.file(name))) << name.toStdString();
    EXPECT_EQ(treeOf(outside.path()), (QStringList{"folder/", "folder/inside/", "target.dat"}))
        << "a link goes, never its target";
}

TEST(ClearTempOutputs, EndsOnAFolderWhereDeletionFailsAndNamesWhatStayed) {
    TempFolder work, outside;
    fillWorkFolder(work, outside);
    QStringList tried;
    const QStringList kept = clearTempOutputs(work.path(), [&](const QString& path) {
        tried << QDir(work.path()).relativeFilePath(path);
        return false;
    });
    QStringList expected = kOutputs;
    expected.sort(Qt::CaseInsensitive);
    QStringList triedSorted = tried;
    triedSorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(triedSorted, expected) << "each output is tried exactly once";
    QStringList keptSorted = kept;
    keptSorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(keptSorted, expected);
    for (const QString& name : kOutputs + kKept) EXPECT_TRUE(present(work.file(name))) << name.toStdString();
}

TEST(ClearTempOutputs, AMissingWorkFolderIsNoError) {
    TempFolder root;
    EXPECT_TRUE(clearTempOutputs(root.file(QStringLiteral("TEMPFILE/"))).isEmpty());
}

}  // namespace
}  // namespace vormgui
