#include "results/PlotViewer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <array>
#include <vector>

#include "gui_test_support.h"
#include "platform/FileListing.h"
#include "platform/OutputFile.h"
#include "results/PlotWindows.h"
#include "widgets/PictureBox.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

using test::writeFile;

const QByteArray kScript =
    "set title \"T\"\r\nset xlabel \"Theta\"\r\nset ylabel \"Y\"\r\nset xrange [-4:4]\r\nset yrange [0:1]\r\n"
    "set term postscript\r\nset output \"x.ps\"\r\nset data style lp\r\nplot \"x.dat\" using 1:2 notitle with "
    "lines\r\n";

class PlotViewerTest : public ::testing::Test {
protected:
    PlotViewerTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir(root.path()).mkpath(QStringLiteral("app/TEMPFILE"));
    }
    void pair(const QString& base, const QByteArray& script = kScript) {
        writeFile(paths.workFile(base + ".DAT"), "-4 .2 .3 .5\r\n4 .6 .3 .1\r\n");
        writeFile(paths.workFile(base + ".SCR"), script);
    }
    QString current(const PlotViewer& w) const { return w.FileListPlot.names.value(w.FileListPlot.listIndex); }

    test::TempFolder root;
    AppPaths paths;
    RecordingServices rec;
    PlotWindows plots{rec, paths, "VORM2004", nullptr};
};

TEST_F(PlotViewerTest, OpeningAWindowShowsItOrSaysTheFilesAreMissing) {
    const struct {
        const char* window;
        const char* file;  // a data file of the kind
        const char* missing;
        MsgIcon icon;
    } entries[] = {
        {"FormPlotFit", "PLOT105", "PLOT1*", MsgIcon::Critical},
        {"FormPlotProb", "PLOT205", "PLOT2*", MsgIcon::Critical},
        {"FormPlotExp", "PLOT305", "PLOT3*", MsgIcon::Critical},
        {"FormPlotTestChar", "PLOT4", "PLOT4", MsgIcon::Critical},
        {"FormPlotInfo", "PLOT5100", "PLOT5*", MsgIcon::Critical},
        {"FormPlotTestInfo", "PLOT6", "PLOT6", MsgIcon::None},
        {"FormPlotExpectedObservedResponse", "PLOT7", "PLOT7.DAT", MsgIcon::Critical},
        {"FormPlotEAPEstimate", "PLOTEAP", "PLOTEAP.DAT", MsgIcon::Critical},
        {"FormPlotLocationEstimates", "PLOTLOC", "PLOTLOC.DAT", MsgIcon::Critical},
        {"FormPlotLatentTrait", "PLOTLAT", "PLOTLAT.DAT", MsgIcon::Critical},
    };
    for (const auto& e : entries) {
        rec.log.clear();
        rec.messages.clear();
        plots.open(QLatin1String(e.window));
        ASSERT_EQ(rec.messages.size(), 1u) << e.window;
        EXPECT_EQ(rec.messages[0].text, "Plot data file " + paths.workDir() + e.missing + " are not available.");
        EXPECT_EQ(rec.messages[0].title, QString());
        EXPECT_EQ(rec.messages[0].icon, e.icon) << e.window;

        pair(QLatin1String(e.file));
        rec.log.clear();
        plots.open(QLatin1String(e.window));
        EXPECT_EQ(rec.log, QStringList{QStringLiteral("modal ") + e.window});
        EXPECT_EQ(current(plots.window(QLatin1String(e.window))), QLatin1String(e.file) + ".DAT");
    }
}

TEST_F(PlotViewerTest, NextAndPreviousWalkTheItemsInNameOrderAndPrintAndSaveTakeThePictureOnShow) {
    for (const char* base : {"PLOT111", "PLOT110"}) pair(QLatin1String(base));
    pair(QStringLiteral("PLOT2100"));  // another kind
    // Listed in lower case: its script is found in the engine's upper case.
    writeFile(paths.workFile("plot1100.dat"), "-4 .5\r\n4 .5\r\n");
    writeFile(paths.workFile("PLOT1100.SCR"), kScript);
    PlotViewer& w = plots.window(QStringLiteral("FormPlotFit"));
    QStringList walk;
    rec.fileAnswers = {root.file("item")};
    rec.onModal = [&](QDialog&) {
        for (int k = 0; k < 3; ++k) w.CommandNext->click(), walk << current(w);
        for (int k = 0; k < 3; ++k) w.CommandPrevious->click(), walk << current(w);
        w.CommandPrint->click();
        w.CommandSaveAs->click();
        return 0;
    };
    w.open(paths.workDir());
    EXPECT_EQ(walk, (QStringList{"plot1100.dat", "PLOT111.DAT", "PLOT111.DAT", "plot1100.dat", "PLOT110.DAT",
                                 "PLOT110.DAT"}));
    const QString last = QStringLiteral("You are at the last item in the list. There are no further items.");
    const QString first = QStringLiteral("You are at the first item in the list. There are no previous items.");
    EXPECT_EQ(rec.log, (QStringList{"modal FormPlotFit", "message : " + last, "message : " + first, "printer",
                                    "print picture", "message Printer: Print Job Done", "save-file"}));
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(QImage(root.file("item.BMP")).convertToFormat(QImage::Format_RGB32), w.PicturePlot->image());
}

TEST_F(PlotViewerTest, APlotThatCannotBeDrawnIsPassedOverAndTheWindowStaysOnThePlotItShowed) {
    const QString last = "message : You are at the last item in the list. There are no further items.";
    const QString first = "message : You are at the first item in the list. There are no previous items.";
    const struct {
        int broken;  // of the five items 1 to 5
        // The item on show after opening, then after each of five Next and
        // five Previous.
        std::array<int, 11> walk;
        int failedStep;     // the click whose item fails: 0 at opening
        QStringList steps;  // messages after the opening's
    } rows[] = {
        {1, {2, 3, 4, 5, 5, 5, 4, 3, 2, 2, 2}, 0, {last, last, first, first}},
        {3, {1, 2, 2, 4, 5, 5, 4, 2, 1, 1, 1}, 2, {"fails", last, first, first}},
        {5, {1, 2, 3, 4, 4, 4, 3, 2, 1, 1, 1}, 4, {"fails", last, first, first}},
    };
    const struct {
        const char* window;
        char kind;
        QString fails;
    } windows[] = {
        {"FormPlotFit", '1',
         "message Error as plotting!: Error when opening the file for plot. Please check file name."},
        {"FormPlotProb", '2',
         "message Error as plotting!: Error as reading the plot data/script file(s). Please check file name and "
         "validity of plot files."},
        {"FormPlotExp", '3',
         "message Error as plotting!: Error when opening the file for plot. Please check file name."},
        {"FormPlotInfo", '5',
         "message Error as plotting!: Error when opening the file for plot. Please check file name."},
    };
    for (const auto& w : windows) {
        for (const auto& row : rows) {
            const std::string trace = std::string(w.window) + ", item " + std::to_string(row.broken) + " broken";
            for (const QString& name : listFiles(paths.workDir(), QStringLiteral("PLOT*")))
                QFile::remove(paths.workFile(name));
            const QString base = QStringLiteral("PLOT%1").arg(w.kind) + "0";
            for (int item = 1; item <= 5; ++item) {
                // Each item its own title, so that each picture is its own.
                pair(base + QString::number(item),
                     QByteArray(kScript).replace("\"T\"", "\"T" + QByteArray::number(item) + "\""));
                // As the engine writes a value too wide for its field.
                if (item == row.broken)
                    writeFile(paths.workFile(base + QString::number(item) + ".DAT"),
                              "-4 .2 ******** .5\r\n4 .6 .3 .1\r\n");
            }
            PlotViewer& viewer = plots.window(QLatin1String(w.window));
            auto item = [&] { return current(viewer).mid(base.size()).chopped(4).toInt(); };
            std::vector<int> walk;
            rec.log.clear();
            rec.onModal = [&](QDialog& d) {
                d.show();
                walk.push_back(item());
                for (int click = 1; click <= 10; ++click) {
                    const QImage before = viewer.PicturePlot->image();
                    (click <= 5 ? viewer.CommandNext : viewer.CommandPrevious)->click();
                    walk.push_back(item());
                    if (click == row.failedStep) {
                        EXPECT_EQ(viewer.PicturePlot->image(), before) << trace << ": the plot on show stays";
                    }
                }
                EXPECT_TRUE(d.isVisible()) << trace;
                return 0;
            };
            plots.open(QLatin1String(w.window));
            EXPECT_EQ(walk, std::vector<int>(row.walk.begin(), row.walk.end())) << trace;
            QStringList log = row.steps;
            log.replaceInStrings(QStringLiteral("fails"), w.fails);
            log.prepend("modal " + QLatin1String(w.window));
            if (row.failedStep == 0)
                log = QStringList{w.fails,
                                  QStringLiteral("message : %1%2.DAT could not be drawn; the window shows %1%3.DAT.")
                                      .arg(base)
                                      .arg(row.broken)
                                      .arg(row.broken + 1)} +
                      log;
            EXPECT_EQ(rec.log, log) << trace;
        }
    }

    // A window that can draw none of its plots tells the first failure and
    // names the rest, and stays shut; a missing script is such a failure.
    rec.log.clear();
    rec.onModal = {};
    pair(QStringLiteral("PLOT301"), "set title \"T\"\r\n");
    pair(QStringLiteral("PLOT302"));
    QFile::remove(paths.workFile("PLOT302.SCR"));
    pair(QStringLiteral("PLOT303"));
    writeFile(paths.workFile("PLOT303.DAT"), "-4 ********\r\n");
    plots.open(QStringLiteral("FormPlotExp"));
    EXPECT_EQ(rec.log,
              (QStringList{windows[2].fails, "message : PLOT301.DAT, PLOT302.DAT, PLOT303.DAT could not be drawn."}));
    // One file that cannot be drawn: its message, and no window.
    rec.log.clear();
    QFile::remove(paths.workFile("PLOT303.DAT"));
    QFile::remove(paths.workFile("PLOT302.DAT"));
    plots.open(QStringLiteral("FormPlotExp"));
    EXPECT_EQ(rec.log, QStringList{windows[2].fails});
}

TEST_F(PlotViewerTest, APlotFileThatIsNoRegularFileOrFarTooLargeIsRefusedUnread) {
    const QString work = paths.workDir();
    pair(QStringLiteral("PLOT4"));
    QFile::remove(work + "PLOT4.SCR");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), work + "PLOT4.SCR"));
    pair(QStringLiteral("PLOT205"));
    QFile large(work + "PLOT205.DAT");
    ASSERT_TRUE(large.open(QIODevice::ReadWrite) && large.resize(kMaxOutputFileBytes + 1));
    large.close();
    const QString plotting = "message Error as plotting!: The file ";
    rec.log.clear();
    plots.open(QStringLiteral("FormPlotTestChar"));
    EXPECT_EQ(rec.log, QStringList{plotting + work + "PLOT4.SCR is not a regular file, so it is not read."});
    // The category plot window, too, opens only on a plot it can draw.
    rec.log.clear();
    plots.open(QStringLiteral("FormPlotProb"));
    EXPECT_EQ(rec.log, QStringList{plotting + work +
                                   "PLOT205.DAT is larger than 64 MB, far larger than any run writes, so it is "
                                   "not read."});
}

}  // namespace
}  // namespace vormgui
