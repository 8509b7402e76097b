// Every plot kind that the engine writes for the example job, with plots
// switched on, drawn by the plot windows; one picture per kind is kept in
// build/plot-pictures/ for a person to look at.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include "core/PlotFiles.h"
#include "engine_jobs.h"
#include "gui_test_support.h"
#include "platform/FileListing.h"
#include "results/PlotViewer.h"
#include "results/PlotWindows.h"
#include "widgets/PictureBox.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

class EnginePlots : public ::testing::Test {
protected:
    // One engine run for the whole suite.
    static void SetUpTestSuite() {
        run_ = new test::TempFolder;
        test::runExampleWithPlotsAndFit(run_->path());
    }
    static void TearDownTestSuite() { delete run_; }
    static QString work() { return run_->file("work/"); }

    static test::TempFolder* run_;
};
test::TempFolder* EnginePlots::run_ = nullptr;

// The script's own lines, read without the renderer's parser.
struct Written {
    QString title, xLabel, yLabel;
    double xMin, xMax, yMin, yMax;
};

Written written(const QString& scriptPath) {
    const QString text = QString::fromLatin1(test::readFile(scriptPath));
    auto quoted = [&](const char* key) {
        const auto m = QRegularExpression(QStringLiteral("^set %1 \"(.*)\"\\r?$").arg(QLatin1String(key)),
                                          QRegularExpression::MultilineOption)
                           .match(text);
        EXPECT_TRUE(m.hasMatch()) << key << " in " << scriptPath.toStdString();
        return m.captured(1);
    };
    auto range = [&](const char* key, double& low, double& high) {
        const auto m = QRegularExpression(QStringLiteral("^set %1 \\[ *(\\S+):\\s*(\\S+)\\]").arg(QLatin1String(key)),
                                          QRegularExpression::MultilineOption)
                           .match(text);
        EXPECT_TRUE(m.hasMatch()) << key << " in " << scriptPath.toStdString();
        low = m.captured(1).toDouble();
        high = m.captured(2).toDouble();
    };
    Written w{quoted("title"), quoted("xlabel"), quoted("ylabel"), 0, 0, 0, 0};
    range("xrange", w.xMin, w.xMax);
    range("yrange", w.yMin, w.yMax);
    return w;
}

TEST_F(EnginePlots, ParsedTextsAndRangesAreWhatTheEngineWrote) {
    ASSERT_EQ(test::readFile(work() + "status").trimmed(), "end");
    int scripts = 0;
    for (const QString& name : listFiles(work(), QStringLiteral("PLOT*.SCR"))) {
        const Written w = written(work() + name);
        const plot::ScriptRead s = plot::readPlotScript(test::readFile(work() + name).toStdString());
        ASSERT_TRUE(s.ok) << name.toStdString();
        const QString title = QString::fromStdString(
            s.script.upperTitle.empty() ? s.script.mainTitle : s.script.upperTitle + "\\n" + s.script.mainTitle);
        EXPECT_EQ(title, w.title);
        EXPECT_EQ(QString::fromStdString(s.script.xLabel), w.xLabel);
        EXPECT_EQ(QString::fromStdString(s.script.yLabel), w.yLabel);
        EXPECT_EQ(s.script.xRange->min, w.xMin) << name.toStdString();
        EXPECT_EQ(s.script.xRange->max, w.xMax) << name.toStdString();
        EXPECT_EQ(s.script.yRange->min, w.yMin) << name.toStdString();
        EXPECT_EQ(s.script.yRange->max, w.yMax) << name.toStdString();
        ++scripts;
    }
    EXPECT_EQ(scripts, 4 * 15 + 6) << "four per-item kinds of 15 items and six whole-test kinds";
}

TEST_F(EnginePlots, EveryFileOfEveryKindDrawsAndOnePicturePerKindIsKept) {
    const QString pictures = QCoreApplication::applicationDirPath() + QStringLiteral("/../../plot-pictures/");
    QDir().mkpath(pictures);
    RecordingServices rec;
    const AppPaths paths(run_->path(), work(), run_->path());
    PlotWindows windows(rec, paths, "VORM2004", nullptr);
    for (const PlotKind& kind : kPlotKinds) {
        PlotViewer& w = windows.window(QLatin1String(kind.form));
        int drawn = 0;
        rec.log.clear();
        rec.onModal = [&](QDialog&) {
            QSaveFile png(pictures + kind.form + QStringLiteral(".png"));
            EXPECT_TRUE(png.open(QIODevice::WriteOnly) && w.PicturePlot->image().save(&png, "PNG") && png.commit());
            for (drawn = 1; drawn < w.FileListPlot.names.size(); ++drawn) w.CommandNext_Click();
            return 0;
        };
        w.open(work());
        EXPECT_EQ(rec.log, QStringList{QStringLiteral("modal ") + kind.form}) << "no message";
        EXPECT_EQ(drawn, QString::fromLatin1(kind.pattern).contains('*') ? 15 : 1) << kind.form;
    }
}

}  // namespace
}  // namespace vormgui
