#include "shell/mFileSystem.h"

#include <gtest/gtest.h>

#include <QDir>

#include "gui_test_support.h"

namespace vormgui {
namespace {

TEST(FolderOfPath, KeepsEverythingUpToTheLastSeparator) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {{"/a/b.txt", "/a/"}, {"b.txt", ""}, {"C:\\a\\b.txt", "C:\\a\\"}, {"/a/b/", "/a/b/"},
                 {"/", "/"},          {"", ""},      {"a\\b/c", "a\\b/"},         {"a/b\\c", "a/b\\"}};
    for (const auto& c : cases)
        EXPECT_EQ(folderOfPath(QString::fromLatin1(c.path)), QString::fromLatin1(c.folder)) << c.path;
}

TEST(AddBackslash, AppendsASeparatorOnlyWhenThereIsNone) {
    const struct {
        const char* path;
        const char* result;
    } cases[] = {{"/a", "/a/"}, {"/a/", "/a/"}, {"C:\\a\\", "C:\\a\\"}, {"C:\\a", "C:\\a/"}, {"", "/"}};
    for (const auto& c : cases)
        EXPECT_EQ(addBackslash(QString::fromLatin1(c.path)), QString::fromLatin1(c.result)) << c.path;
}

TEST(FolderExists, TestsTheFolderPartOfItsArgument) {
    test::TempFolder root;
    QDir(root.path()).mkdir(QStringLiteral("TEMPFILE"));
    EXPECT_TRUE(folderExists(root.file(QStringLiteral("TEMPFILE/"))));
    EXPECT_FALSE(folderExists(root.file(QStringLiteral("VORM2004/"))));
    // Without the trailing separator it is the parent that is tested.
    EXPECT_TRUE(folderExists(root.file(QStringLiteral("VORM2004"))));
    EXPECT_TRUE(folderExists(root.file(QStringLiteral("TEMPFILE/CMDFLE"))));
    EXPECT_FALSE(folderExists(root.file(QStringLiteral("none/CMDFLE"))));
    test::writeFile(root.file(QStringLiteral("plain")));
    EXPECT_FALSE(folderExists(root.file(QStringLiteral("plain/"))));
}

}  // namespace
}  // namespace vormgui
