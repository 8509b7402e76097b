#include "platform/FileListing.h"

#include <gtest/gtest.h>

#include <QDir>

#include "gui_test_support.h"

namespace vormgui {
namespace {

using test::TempFolder;
using test::writeFile;

TEST(WildcardMatch, IgnoresCaseAndLetsDotStarMatchNoExtension) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"ft*.*", "FT06F001", true},
        {"ft*.*", "ft99", true},
        {"ft*.*", "Ft.x", true},
        {"ft*.*", "xft06", false},
        {"ft*.*", "f", false},
        {"plot*.*", "PLOT4.SCR", true},
        {"plot*.*", "plot7.dat", true},
        {"plot*.*", "myplot.dat", false},
        {"PLOT5*.DAT", "plot5abc.dat", true},
        {"PLOT5*.DAT", "PLOT5.DAT", true},
        {"PLOT5*.DAT", "PLOT5.SCR", false},
        {"PLOT5*.DAT", "PLOT15.DAT", false},
        {"PLOT4.DAT", "plot4.dat", true},
        {"PLOT4.DAT", "PLOT41.DAT", false},
        {"PLOT4.DAT", "PLOT4.DAT.bak", false},
        {"*", "anything.at.all", true},
        {"*", "", true},
        {"a?c", "ABC", true},
        {"a?c", "ac", false},
        {"*.*", "noext", true},
        {"PLOT1*.DAT", "PLOT1", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b", "ab_a", false},
        {"status", "STATUS", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wildcardMatch(QString::fromLatin1(c.pattern), QString::fromLatin1(c.name)), c.match)
            << c.pattern << " ~ " << c.name;
}

TEST(ListFiles, TakesPlainVisibleFilesSortedWithoutRegardToCaseOrNumbers) {
    TempFolder work;
    for (const char* name : {"plot2.dat", "PLOT10.DAT", "Plot1A.DAT", "PLOT3.SCR", ".plot5.dat", "data.txt"})
        writeFile(work.file(QString::fromLatin1(name)));
    QDir(work.path()).mkdir(QStringLiteral("PLOT9.DAT"));

    EXPECT_EQ(listFiles(work.path(), QStringLiteral("PLOT*.DAT")),
              (QStringList{"PLOT10.DAT", "Plot1A.DAT", "plot2.dat"}));
    EXPECT_EQ(listFiles(work.path(), QStringLiteral("plot*.*")),
              (QStringList{"PLOT10.DAT", "Plot1A.DAT", "plot2.dat", "PLOT3.SCR"}));
    EXPECT_TRUE(listFiles(work.file(QStringLiteral("missing/")), QStringLiteral("*")).isEmpty());
}

TEST(FindFile, FindsANameInAnyCaseAndNothingElse) {
    TempFolder work;
    writeFile(work.file(QStringLiteral("FT06F001")));
    EXPECT_EQ(findFile(work.path(), QStringLiteral("ft06f001")), work.file(QStringLiteral("FT06F001")));
    EXPECT_EQ(findFile(work.path(), QStringLiteral("FT06F001")), work.file(QStringLiteral("FT06F001")));
    EXPECT_TRUE(findFile(work.path(), QStringLiteral("FT16F001")).isEmpty());
    EXPECT_TRUE(findFile(work.path(), QStringLiteral("ft06f00")).isEmpty());
}

}  // namespace
}  // namespace vormgui
