#include "results/FormTextOutput.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>

#include "engine_jobs.h"
#include "platform/OutputFile.h"
#include "results/ReportWindows.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

using test::readFile;
using test::writeFile;

// The main window with its result windows over a work folder of its own; a
// shown window runs `whileShown`.
class ReportWindowsTest : public ::testing::Test {
protected:
    ReportWindowsTest()
        : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")), reports(rec, paths, nullptr) {
        QDir(root.path()).mkpath(QStringLiteral("app/TEMPFILE"));
        rec.onModal = [this](QDialog& window) {
            if (whileShown) whileShown(static_cast<FormTextOutput&>(window));
            return 0;
        };
    }

    test::TempFolder root;
    AppPaths paths;
    RecordingServices rec;
    ReportWindows reports;
    std::function<void(FormTextOutput&)> whileShown;
};

TEST_F(ReportWindowsTest, AMissingOutputFileGivesTheMessageWithItsPathAndNoWindow) {
    const std::pair<std::function<void()>, QString> windows[] = {{[&] { reports.openText(0); }, "FT06F001"},
                                                                 {[&] { reports.openText(1); }, "FT16F001"},
                                                                 {[&] { reports.openText(2); }, "FT17F001"},
                                                                 {[&] { reports.openText(3); }, "FT15F001"},
                                                                 {[&] { reports.openFrequencyChart(); }, "FT06F001"}};
    for (const auto& [open, file] : windows) {
        rec.log.clear();
        rec.messages.clear();
        open();
        ASSERT_EQ(rec.log.size(), 1) << file.toStdString() << ": no message, or a window shown";
        EXPECT_EQ(rec.messages[0].text, "Output file " + root.path() + "app/TEMPFILE/" + file + " is not available.");
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_FALSE(rec.messages[0].title.isEmpty()) << "the title says why the file could not be read";
    }
}

TEST_F(ReportWindowsTest, AnOutputThatIsNoRegularFileOrFarTooLargeIsRefusedUnread) {
    const QString work = paths.workDir();
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), work + "FT06F001"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(work + "FT16F001").constData(), 0600), 0);
    QDir(work).mkdir(QStringLiteral("FT15F001"));
    // Sparse: no disk is taken by the bytes that make it too large.
    QFile large(work + "FT17F001");
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(kMaxOutputFileBytes + 1));
    large.close();
    const QString notAFile = " is not a regular file, so it is not read.";
    const std::pair<std::function<void()>, QString> windows[] = {
        {[&] { reports.openText(0); }, work + "FT06F001" + notAFile},
        {[&] { reports.openFrequencyChart(); }, work + "FT06F001" + notAFile},
        {[&] { reports.openText(1); }, work + "FT16F001" + notAFile},
        {[&] { reports.openText(3); }, work + "FT15F001" + notAFile},
        {[&] { reports.openText(2); },
         work + "FT17F001 is larger than 64 MB, far larger than any run writes, so it is not read."},
    };
    for (const auto& [open, text] : windows) {
        rec.log.clear();
        rec.messages.clear();
        open();
        EXPECT_EQ(rec.log, QStringList{"message : The file " + text}) << "a window shown, or no message";
    }

    // The bound itself: a report of exactly 64 MB is read (and found to hold
    // no frequency table), one byte more is not.
    QFile::remove(work + "FT06F001");
    const std::pair<qint64, QString> sizes[] = {
        {qint64(64) << 20, "message : Tempfile FT06F001 not as expected format!"},
        {(qint64(64) << 20) + 1,
         "message : The file " + work +
             "FT06F001 is larger than 64 MB, far larger than any run writes, so it is not read."},
    };
    for (const auto& [size, message] : sizes) {
        QFile report(work + "FT06F001");
        ASSERT_TRUE(report.open(QIODevice::WriteOnly) && report.resize(size));
        report.close();
        rec.log.clear();
        reports.openFrequencyChart();
        EXPECT_EQ(rec.log, QStringList{message}) << size;
    }
}

TEST_F(ReportWindowsTest, SaveAsWritesTheTextAsEditedAndOneLineEndAsksBeforeReplacingAndACancelWritesNothing) {
    // Mixed line ends, trailing blanks, UTF-8, no final line end; the name in lower case.
    const QByteArray source = " REPORT   \r\n\r\n DATA FILE: /r\xc3\xa9sum\xc3\xa9/d.dat\n   1    10   20    1   ";
    writeFile(paths.workFile("ft16f001"), source);
    const QString target = root.file("copy.txt"), nowhere = root.file("no/folder/copy.txt");
    writeFile(target, "an older and longer file of the same name, to be replaced whole");
    QByteArray saved, edited;
    rec.fileAnswers = {target, target, QString(), nowhere, target};
    rec.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes};
    whileShown = [&](FormTextOutput& viewer) {
        viewer.mnuSaveAsItem->trigger();  // No: the file of that name stays
        EXPECT_EQ(readFile(target), "an older and longer file of the same name, to be replaced whole");
        viewer.mnuSaveAsItem->trigger();
        saved = readFile(target);
        writeFile(target, "changed");
        viewer.mnuSaveAsItem->trigger();  // cancelled
        viewer.mnuSaveAsItem->trigger();  // into a folder that is not there
        EXPECT_EQ(readFile(target), "changed");
        // The reader types a mark at the start of the text.
        viewer.TextContent->moveCursor(QTextCursor::Start);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("X"));
        QApplication::sendEvent(viewer.TextContent, &key);
        viewer.mnuSaveAsItem->trigger();
        edited = readFile(target);
    };
    reports.openText(1);
    // The box shows each line end as one; the file gets one more, CR LF.
    const QByteArray text = " REPORT   \n\n DATA FILE: /r\xc3\xa9sum\xc3\xa9/d.dat\n   1    10   20    1   ";
    EXPECT_EQ(saved, text + "\r\n");
    EXPECT_EQ(edited, "X" + text + "\r\n");
    const QString question = "File  '" + target + "' exists! Do you want to overwrite it?";
    EXPECT_EQ(rec.messageTexts(),
              (QStringList{question, question, "The file " + nowhere + " could not be written.", question}));
    EXPECT_EQ(rec.messages[0].title, "VORM2004");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(rec.messages[0].buttons, MsgButtons::YesNo);
}

TEST_F(ReportWindowsTest, OkAndCloseOnlyHideAViewerButItsCloseBoxMakesItForgetTheFileName) {
    writeFile(paths.workFile("FT06F001"), " REPORT\n");
    const QString target = root.file("saved.txt");
    // How each opening ends, after a Save As.
    const std::function<void(FormTextOutput&)> ends[] = {
        [](FormTextOutput& v) { v.CommandOK->click(); },
        [](FormTextOutput& v) { v.mnuCloseItem->trigger(); },
        [](FormTextOutput& v) { v.close(); },
        [](FormTextOutput& v) { v.CommandOK->click(); },
    };
    rec.fileAnswers = {target};
    for (const auto& end : ends) {
        whileShown = [&](FormTextOutput& viewer) {
            viewer.mnuSaveAsItem->trigger();
            end(viewer);
            EXPECT_TRUE(viewer.isHidden());
        };
        reports.openText(0);
    }
    QStringList offered;
    for (const FileChoice& choice : rec.choicesOffered) offered << choice.fileName;
    EXPECT_EQ(offered, (QStringList{QString(), target, target, QString()}));
}

TEST_F(ReportWindowsTest, AViewerForcedSmallerThanItsLeastSizeSnapsBackWithItsButtonsInside) {
    writeFile(paths.workFile("FT06F001"), " REPORT\n");
    whileShown = [&](FormTextOutput& viewer) {
        viewer.show();
        QCoreApplication::processEvents();
        // As a display without a window manager lets a user drag a window
        // to any size, past the least size the viewer asks for.
        viewer.windowHandle()->resize(120, 60);
        for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
        EXPECT_EQ(viewer.size(), viewer.minimumSize());
        EXPECT_TRUE(viewer.rect().contains(viewer.CommandOK->geometry()));
        EXPECT_TRUE(viewer.rect().contains(viewer.CommandHelp->geometry()));
        viewer.hide();
    };
    reports.openText(0);
}

QString pdfText(const QString& pdf, const QString& option) {
    return test::popplerOutput(QStringLiteral("pdftotext"), {option, pdf, QStringLiteral("-")});
}

TEST_F(ReportWindowsTest, ThePrintedReportHoldsTheReportsLinesAtTwelvePoints) {
    test::TempFolder run;
    const QString work = test::runEngineJob({std::vector<int>(8, 5), {}, 0.05}, run.path());
    const QByteArray report = readFile(work + "FT06F001");
    ASSERT_GT(report.count('\n'), 100) << "too short a report to run over pages";
    writeFile(paths.workFile("FT06F001"), report);
    rec.printToPdf = root.file("report.pdf");
    whileShown = [](FormTextOutput& viewer) { viewer.mnuPrintItem->trigger(); };
    reports.openText(0);
    EXPECT_EQ(rec.messageTexts(), QStringList{"Print Job Done!"});

    // Line by line in order; blanks do not count, since the extraction
    // spaces words its own way and a long line wraps.
    const QRegularExpression blanks(QStringLiteral("\\s"));
    const QString printed = pdfText(rec.printToPdf, "-layout").remove(blanks);
    qsizetype from = 0;
    for (const QString& line : QString::fromUtf8(report).split('\n')) {
        const QString words = QString(line).remove(blanks);
        const qsizetype at = printed.indexOf(words, from);
        ASSERT_GE(at, 0) << "not printed, or out of order: " << line.toStdString();
        from = at + words.size();
    }

    // A fixed-pitch face advances 0.6 of its size per character: 7.2 points
    // at 12 points.  The longest word measures it best.
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]+)<"));
    double advance = 0.0;
    qsizetype longest = 0;
    for (auto it = word.globalMatch(pdfText(rec.printToPdf, "-bbox")); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(3).size() <= longest) continue;
        longest = m.captured(3).size();
        advance = (m.captured(2).toDouble() - m.captured(1).toDouble()) / double(longest);
    }
    EXPECT_NEAR(advance, 7.2, 0.15);
}

}  // namespace
}  // namespace vormgui
