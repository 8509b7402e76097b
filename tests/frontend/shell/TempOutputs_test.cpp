#include "shell/TempOutputs.h"

#include <gtest/gtest.h>

#include <QDir>

#include "gui_test_support.h"

namespace vormgui {
namespace {

using test::TempFolder;
using test::treeOf;

const QStringList kOutputs{"FT06F001", "ft99", "plot7.dat", "PLOT4.SCR", "PLOTEAP.DAT"};
const QStringList kKept{"status", "CMDFLE", "data.txt", "xft06"};

void fillWorkFolder(const TempFolder& work) {
    for (const QString& name : kOutputs + kKept) test::writeFile(work.file(name), "x");
    QDir(work.path()).mkdir(QStringLiteral("ftdir"));
}

TEST(ClearTempOutputs, RemovesTheUnitAndPlotFilesAndNothingElse) {
    TempFolder work;
    fillWorkFolder(work);
    EXPECT_TRUE(clearTempOutputs(work.path()).isEmpty());
    EXPECT_EQ(treeOf(work.path()), (QStringList{"CMDFLE", "data.txt", "ftdir/", "status", "xft06"}));
}

TEST(ClearTempOutputs, EndsOnAFolderWhereDeletionFailsAndNamesWhatStayed) {
    TempFolder work;
    fillWorkFolder(work);
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
    EXPECT_EQ(treeOf(work.path()).size(), kOutputs.size() + kKept.size() + 1);
}

TEST(ClearTempOutputs, AMissingWorkFolderIsNoError) {
    TempFolder root;
    EXPECT_TRUE(clearTempOutputs(root.file(QStringLiteral("TEMPFILE/"))).isEmpty());
}

}  // namespace
}  // namespace vormgui
