// The help folder against the page names that the windows open: on a
// case-sensitive file system "Init.htm" is not "init.htm".
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "gui_test_support.h"

namespace vormgui {
namespace {

const char* const kPages[] = {
    // main window
    "Topic.htm", "about.htm",
    // job pages
    "ReadData.htm", "ItemDef.htm", "ResponseCat.htm", "ResponseCutoffs.htm", "DeleteItems.htm", "DiscardItems.htm",
    "DeleteSubjects.htm", "DiscardPeople.htm", "init.htm", "assign.htm", "Quadrature.htm", "Algorithm.htm",
    "Constraint.htm", "Delta.htm", "Alpha.htm", "Tau.htm", "FitGroups.htm", "ItemFit.htm", "PersonFit.htm",
    "PlotGroups.htm",
    // report viewers
    "ExeInfo.htm", "ItemPara.htm", "PersonPara.htm", "FitStat.htm"};

QString helpDir() { return test::sourceDir() + QStringLiteral("help/"); }

TEST(HelpPages, EveryPageThatAWindowOpensIsThereWithATitleAndText) {
    for (const char* name : kPages) {
        const QString page = QString::fromUtf8(test::readFile(helpDir() + QString::fromLatin1(name)));
        ASSERT_FALSE(page.isEmpty()) << name << " is missing";
        const auto title = QRegularExpression(QStringLiteral("<title>([^<]+)</title>")).match(page);
        EXPECT_TRUE(title.hasMatch()) << name;
        QString text = page;
        text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        EXPECT_GT(text.simplified().size(), 300) << name << " says too little";
    }
}

TEST(HelpPages, LinksBetweenPagesLeadToPagesThatExist) {
    const QStringList files = QDir(helpDir()).entryList({QStringLiteral("*.htm")}, QDir::Files);
    const QRegularExpression link(QStringLiteral("(?:href)=\"([^\"#:]+)\""));
    int links = 0;
    for (const QString& file : files) {
        const QString page = QString::fromUtf8(test::readFile(helpDir() + file));
        for (auto it = link.globalMatch(page); it.hasNext();) {
            const QString target = it.next().captured(1);
            ++links;
            EXPECT_TRUE(QFileInfo::exists(helpDir() + target))
                << file.toStdString() << " links to " << target.toStdString();
        }
    }
    EXPECT_GT(links, 50);
}

}  // namespace
}  // namespace vormgui
