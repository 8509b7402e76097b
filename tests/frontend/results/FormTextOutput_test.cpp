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
#include <algorithm>
#include <vector>

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

// The words of a printed PDF as pdftotext finds them, in lines: words on
// one baseline of one page, left to right, the lines top to bottom and page
// by page.
struct PrintedWord {
    double xMin, xMax;
    QString text;
};
struct PrintedLines {
    std::vector<std::vector<PrintedWord>> lines;
    double pageWidth = 0.0;
};

PrintedLines printedLines(const QString& pdf) {
    const QString boxes = test::popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, "-"});
    const QRegularExpression item(QStringLiteral(
        R"re(<page width="([0-9.]+)"|<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)<)re"));
    PrintedLines printed;
    std::vector<std::pair<double, PrintedWord>> page;  // baseline, word
    const auto endPage = [&] {
        std::stable_sort(page.begin(), page.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        const std::size_t first = printed.lines.size();
        for (std::size_t k = 0; k < page.size(); ++k) {
            if (k == 0 || page[k].first > page[k - 1].first + 1.0) printed.lines.emplace_back();
            printed.lines.back().push_back(page[k].second);
        }
        page.clear();
        for (std::size_t l = first; l < printed.lines.size(); ++l)
            std::stable_sort(printed.lines[l].begin(), printed.lines[l].end(),
                             [](const auto& a, const auto& b) { return a.xMin < b.xMin; });
    };
    for (auto it = item.globalMatch(boxes); it.hasNext();) {
        const auto m = it.next();
        if (m.hasCaptured(1)) {
            endPage();
            printed.pageWidth = m.captured(1).toDouble();
            continue;
        }
        QString text = m.captured(5);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
        text.replace("&amp;", "&");
        page.push_back({m.captured(3).toDouble(), {m.captured(2).toDouble(), m.captured(4).toDouble(), text}});
    }
    endPage();
    return printed;
}

// A field of a report line: a run of characters between blanks, and the
// column where it starts.
struct Field {
    qsizetype column;
    QString text;
};

std::vector<Field> fieldsOf(const QString& line) {
    std::vector<Field> fields;
    for (auto it = QRegularExpression(QStringLiteral("\\S+")).globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        fields.push_back({m.capturedStart(), m.captured()});
    }
    return fields;
}

// Each report viewer prints its file in a fixed-pitch face at 12 points, a
// character 0.6 of the size wide: every field of every line whole, in order,
// at its own column; a line wider than the page goes on on the next lines,
// indented, its fields in their columns relative to one another.
TEST_F(ReportWindowsTest, EveryPrintedReportHoldsEveryFieldWholeInItsColumnAtTwelvePoints) {
    test::TempFolder run;
    const QString outputs = test::runExampleWithPlotsAndFit(run.path());
    bool broken = false;  // some line was wider than the page
    for (std::size_t kind = 0; kind < kTextOutputs.size(); ++kind) {
        const QString file = QString::fromLatin1(kTextOutputs[kind].unitFile);
        SCOPED_TRACE(file.toStdString());
        const QByteArray report = readFile(outputs + file);
        ASSERT_GT(report.count('\n'), 60) << "too short a report to run over pages";
        writeFile(paths.workFile(file), report);
        rec.printToPdf = root.file(file + ".pdf");
        rec.messages.clear();
        whileShown = [](FormTextOutput& viewer) { viewer.mnuPrintItem->trigger(); };
        reports.openText(static_cast<int>(kind));
        EXPECT_EQ(rec.messageTexts(), QStringList{"Print Job Done!"});

        const PrintedLines printed = printedLines(rec.printToPdf);
        ASSERT_FALSE(printed.lines.empty());
        // The character's width, from the longest word, and the left edge,
        // from the first line, which is no continuation.
        double advance = 0.0;
        qsizetype longest = 0;
        for (const auto& line : printed.lines) {
            for (const PrintedWord& w : line) {
                if (w.text.size() <= longest) continue;
                longest = w.text.size();
                advance = (w.xMax - w.xMin) / double(longest);
            }
        }
        EXPECT_NEAR(advance, 7.2, 0.15);
        const QStringList lines = QString::fromUtf8(report).remove('\r').split('\n');
        qsizetype first = 0;
        while (fieldsOf(lines[first]).empty()) ++first;
        const double left = printed.lines[0][0].xMin - double(fieldsOf(lines[first])[0].column) * advance;

        std::size_t next = 0;  // printed line
        for (qsizetype l = 0; l < lines.size(); ++l) {
            const std::vector<Field> fields = fieldsOf(lines[l]);
            std::size_t done = 0;
            for (bool continued = false; done < fields.size(); continued = true) {
                ASSERT_LT(next, printed.lines.size()) << "line " << l + 1 << " is not printed whole";
                const std::vector<PrintedWord>& words = printed.lines[next++];
                // Where the printed line's first field stands against the
                // report's: the same column, or indented on a continuation.
                const double shift = words[0].xMin - left - double(fields[done].column) * advance;
                if (continued) {
                    broken = true;
                    const double indent = (words[0].xMin - left) / advance;
                    ASSERT_GT(indent, 0.9) << "line " << l + 1 << " goes on unindented";
                } else {
                    ASSERT_NEAR(shift, 0.0, 0.5) << "line " << l + 1 << " does not start at its column";
                }
                for (const PrintedWord& w : words) {
                    ASSERT_LT(done, fields.size()) << "line " << l + 1 << " printed with more fields than it has";
                    const Field& f = fields[done++];
                    ASSERT_EQ(w.text, f.text) << "line " << l + 1 << ": a field split, joined or lost";
                    ASSERT_NEAR(w.xMin, left + double(f.column) * advance + shift, 0.5)
                        << "line " << l + 1 << ": " << f.text.toStdString() << " out of its column";
                    ASSERT_LE(w.xMax, printed.pageWidth - left + 0.5)
                        << "line " << l + 1 << ": " << f.text.toStdString() << " beyond the page";
                }
            }
        }
        EXPECT_EQ(next, printed.lines.size()) << "lines printed that the report does not have";
    }
    EXPECT_TRUE(broken) << "no report line was wider than the page, so breaking was not tried";
}

}  // namespace
}  // namespace vormgui
