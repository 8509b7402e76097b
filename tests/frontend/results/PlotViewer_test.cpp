#include "results/PlotViewer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPushButton>

#include "gui_test_support.h"
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

TEST_F(PlotViewerTest, AFileThatCannotBeDrawnClosesTheWindowOrKeepsItShut) {
    const QString general =
        QStringLiteral("message Error as plotting!: Error when opening the file for plot. Please check file name.");
    pair(QStringLiteral("PLOT305"));
    writeFile(paths.workFile("PLOT307.DAT"), "-4 .5\r\n");  // no script
    PlotViewer& w = plots.window(QStringLiteral("FormPlotExp"));
    rec.onModal = [&](QDialog& d) {
        d.show();
        w.CommandNext->click();
        EXPECT_FALSE(d.isVisible());
        return d.result();
    };
    w.open(paths.workDir());
    EXPECT_EQ(rec.log, (QStringList{"modal FormPlotExp", general}));

    rec.log.clear();
    QFile::remove(paths.workFile("PLOT305.SCR"));
    w.open(paths.workDir());
    EXPECT_EQ(rec.log, QStringList{general}) << "a first plot that fails is never shown";
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
    // The category plot window stays open after a plot it could not draw.
    rec.log.clear();
    plots.open(QStringLiteral("FormPlotProb"));
    EXPECT_EQ(rec.log, (QStringList{plotting + work +
                                        "PLOT205.DAT is larger than 64 MB, far larger than any run writes, so it is "
                                        "not read.",
                                    "modal FormPlotProb"}));
}

}  // namespace
}  // namespace vormgui
