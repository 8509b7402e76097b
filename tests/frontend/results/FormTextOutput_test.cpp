#include "results/FormTextOutput.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>

#include "engine_jobs.h"
#include "gui_test_support.h"
#include "platform/RecordingServices.h"
#include "results/ReportWindows.h"
#include "shell/FormMain.h"

namespace vormgui {
namespace {

using test::readFile;
using test::writeFile;

// The main window with its result windows, over a work folder of its own.
class ReportWindowsTest : public ::testing::Test {
protected:
    ReportWindowsTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")), form(rec, paths) {
        QDir(root.path()).mkpath(QStringLiteral("app/TEMPFILE"));
        attachReportWindows(form, rec, paths);
    }

    FormTextOutput& viewer(const char* name) {
        auto* v = form.findChild<FormTextOutput*>(QString::fromLatin1(name));
        EXPECT_NE(v, nullptr) << name;
        return *v;
    }

    test::TempFolder root;
    AppPaths paths;
    RecordingServices rec;
    FormMain form;
};

TEST_F(ReportWindowsTest, AMissingOutputFileGivesTheMessageWithItsPathAndNoWindow) {
    const std::pair<QAction*, const char*> entries[] = {{form.mnuExeInfo, "FT06F001"},
                                                        {form.mnuItemPara, "FT16F001"},
                                                        {form.mnuPersonPara, "FT17F001"},
                                                        {form.mnuFitStat, "FT15F001"},
                                                        {form.mnuResponseFrequency, "FT06F001"}};
    for (const auto& [entry, file] : entries) {
        SCOPED_TRACE(entry->objectName().toStdString());
        rec.log.clear();
        rec.messages.clear();
        ASSERT_TRUE(entry->isEnabled());
        entry->trigger();
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.messages[0].text,
                  "Output file " + root.path() + "app/TEMPFILE/" + QString::fromLatin1(file) + " is not available.");
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_FALSE(rec.messages[0].title.isEmpty()) << "the title says why the file could not be read";
        EXPECT_EQ(rec.log.filter(QStringLiteral("modal")), QStringList());
    }
}

TEST_F(ReportWindowsTest, EachEntryShowsItsFileWholeInItsViewerWhateverTheLetterCase) {
    writeFile(paths.workFile("FT06F001"), " report\r\n line 2\r\n");
    writeFile(paths.workFile("ft16f001"), " items\n");
    writeFile(paths.workFile("Ft17F001"), " persons");
    writeFile(paths.workFile("FT15F001"), " fit\n\n");
    struct Case {
        QAction* entry;
        const char* window;
        const char* caption;
        QString text;
    };
    const Case cases[] = {{form.mnuExeInfo, "FormExecInfoOutput", "Execution Information", " report\n line 2\n"},
                          {form.mnuItemPara, "FormParaOutput", "Item Parameters", " items\n"},
                          {form.mnuPersonPara, "FormPersonOutput", "Person Parameters", " persons"},
                          {form.mnuFitStat, "FormStatOutput", "Fit Statistics", " fit\n\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        QString shown, title;
        rec.onModal = [&](QDialog& window) {
            title = window.windowTitle();
            shown = window.findChild<QPlainTextEdit*>(QStringLiteral("TextContent"))->toPlainText();
            return 0;
        };
        rec.log.clear();
        c.entry->trigger();
        EXPECT_EQ(rec.log, QStringList{QStringLiteral("modal ") + c.window});
        EXPECT_EQ(title, QString::fromLatin1(c.caption));
        EXPECT_EQ(shown, c.text);
    }
}

TEST_F(ReportWindowsTest, SaveAsWritesTheBytesOfTheFileAndOverwritesWithoutAsking) {
    // Mixed line ends, trailing blanks, a non-ASCII path and no final line end.
    const QByteArray source = " REPORT   \r\n\r\n DATA FILE: /home/r\xc3\xa9sum\xc3\xa9/d.dat\n   1    10   20    1   ";
    writeFile(paths.workFile("FT06F001"), source);
    const QString target = root.file("copy.txt");
    writeFile(target, "an older file of that name, longer than the report and its line ends together");
    FormTextOutput& exec = viewer("FormExecInfoOutput");
    QByteArray saved;
    rec.fileAnswers = {target, QString()};
    rec.onModal = [&](QDialog&) {
        exec.mnuSaveAsItem->trigger();
        saved = readFile(target);
        writeFile(target, "changed after saving");
        exec.mnuSaveAsItem->trigger();  // cancelled
        return 0;
    };
    form.mnuExeInfo->trigger();
    EXPECT_EQ(saved, source);
    EXPECT_EQ(readFile(target), "changed after saving") << "a cancelled Save As wrote";
    EXPECT_EQ(rec.log, (QStringList{"modal FormExecInfoOutput", "save-file", "save-file"})) << "no question asked";
    EXPECT_EQ(exec.CommonDialogOutput.fileName, target) << "the dialog keeps the chosen name for next time";
}

TEST_F(ReportWindowsTest, SaveAsIntoAFolderThatIsNotThereSaysSo) {
    writeFile(paths.workFile("FT16F001"), " items\n");
    const QString target = root.file("no/such/folder/items.txt");
    rec.onModal = [&](QDialog& window) {
        rec.fileAnswers = {target};
        static_cast<FormTextOutput&>(window).mnuSaveAsItem->trigger();
        return 0;
    };
    form.mnuItemPara->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "The file " + target + " could not be written.");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(rec.messages[0].title.isEmpty());
    EXPECT_FALSE(QFile::exists(target));
}

// Words of a line without its blanks: how a line is found again in the text
// of a PDF, whose extraction may space words differently.
QString squeezed(const QString& text) {
    QString s = text;
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

QString pdfText(const QString& pdf, const QStringList& options = {}) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(ReportWindowsTest, ThePrintedReportHoldsTheReportsLinesAtTwelvePoints) {
    test::EngineJob job;
    job.categories = std::vector<int>(8, 5);
    job.missingRate = 0.05;
    test::TempFolder run;
    const QString work = test::runEngineJob(job, run.path());
    const QByteArray report = readFile(work + "FT06F001");
    ASSERT_GT(report.count('\n'), 100) << "the engine's report is too short to run over pages";
    writeFile(paths.workFile("FT06F001"), report);

    rec.printToPdf = root.file("report.pdf");
    rec.onModal = [&](QDialog& window) {
        static_cast<FormTextOutput&>(window).mnuPrintItem->trigger();
        return 0;
    };
    form.mnuExeInfo->trigger();
    EXPECT_EQ(rec.messageTexts(), QStringList{"Print Job Done!"});

    const QString printed = squeezed(pdfText(rec.printToPdf, {QStringLiteral("-layout")}));
    qsizetype from = 0;
    int lines = 0;
    for (const QString& line : QString::fromUtf8(report).split(QLatin1Char('\n'))) {
        const QString words = squeezed(line);
        if (words.isEmpty()) continue;
        const qsizetype at = printed.indexOf(words, from);
        ASSERT_GE(at, 0) << "not printed, or out of order: " << line.toStdString();
        from = at + words.size();
        ++lines;
    }
    EXPECT_GT(lines, 50);

    // Fixed-pitch faces advance 0.6 of the font size per character: 7.2
    // points at 12 points.  The longest word measures it best.
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]+)</word>"));
    double advance = 0.0;
    qsizetype longest = 0;
    for (auto it = word.globalMatch(pdfText(rec.printToPdf, {QStringLiteral("-bbox")})); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(3).size() <= longest) continue;
        longest = m.captured(3).size();
        advance = (m.captured(2).toDouble() - m.captured(1).toDouble()) / static_cast<double>(longest);
    }
    EXPECT_GT(longest, 10);
    EXPECT_NEAR(advance, 7.2, 0.15);
}

}  // namespace
}  // namespace vormgui
