#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "JobTestSupport.h"
#include "app/FrontEnd.h"
#include "gui_test_support.h"
#include "shell/FormTimer.h"

namespace vormgui {
namespace {

using test::readFile;
using test::treeOf;
using test::writeFile;

// Run from the main window, with a recorded engine start.
class RunCommand : public test::MainWindowTest {
protected:
    void readyToRun() {
        form->setModelNumber(4);
        form->jobSettings.dataFileName = pages.shown.dataFile = "EXAMPLE.DAT";
        form->jobSettings.fortranFormat = pages.shown.fortranFormat = "(I5,1X,2I1)";
    }
    void fillWorkFolder() {
        for (const char* name : {"FT06F001", "PLOT1A.DAT", "status"}) writeFile(paths.workFile(name), " end\n");
    }
};

TEST_F(RunCommand, InconsistentCutoffsStopBeforeAnythingIsDeletedAndFailedChecksAfter) {
    readyToRun();
    fillWorkFolder();
    const QByteArray job = readFile(cmdfle());
    form->jobSettings.responseCutoff[0] = 2;
    form->mnuRunitem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text,
              "The response cutoff for some item is inconsistent with the number of response categories for that "
              "item. VORM2004 will abort!!");
    EXPECT_EQ(rec.messages[0].title, "Error!");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "FT06F001", "PLOT1A.DAT", "VORM.lock", "status"}));
    EXPECT_EQ(readFile(cmdfle()), job);

    form->jobSettings.responseCutoff[0] = 0;
    form->setModelNumber(0);
    rec.messages.clear();
    form->mnuRunitem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "Please indicate the model!");
    EXPECT_EQ(rec.messages[0].title, "Not ready to run!");
    EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "VORM.lock", "status"}));
    EXPECT_EQ(readFile(cmdfle()), job);
    EXPECT_FALSE(rec.log.join('\n').contains("start"));
}

TEST_F(RunCommand, WritesTheJobAndAFreshStartThenStartsTheEngineAndShowsTheMonitor) {
    readyToRun();
    fillWorkFolder();
    QByteArray statusAtStart;
    rec.onModal = [&](QDialog& monitor) {
        statusAtStart = readFile(paths.workFile("status"));
        auto& timer = dynamic_cast<FormTimer&>(monitor);
        EXPECT_EQ(timer.LabelTitle->text(), FormTimer::kRunning);
        timer.CommandQuit->click();
        return 0;
    };
    form->mnuRunitem->trigger();
    EXPECT_EQ(rec.log, (QStringList{"start " + paths.engineProgram() + " " + cmdfle() + " " + paths.workDir(),
                                    "modal FormTimer", "stop 4242"}));
    EXPECT_EQ(statusAtStart, " start\n") << "an earlier run's end is gone before the engine starts";
    EXPECT_EQ(readFile(paths.workFile("status")), " THE RUN WAS STOPPED BY THE USER.\n");
    EXPECT_EQ(jobLines(cmdfle()).value(0), "4             ESTIMATE PARAMETERS OF MODEL 4");
    EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "VORM.lock", "status"}));
    EXPECT_EQ(form->engineRun.engineTaskId, 4242);
}

TEST_F(RunCommand, AFailedStartIsReportedAndTheMonitorShownStopsNothing) {
    readyToRun();
    rec.nextEnginePid = 0;
    int ticks = 0;
    rec.onModal = [&](QDialog& monitor) {
        auto& timer = dynamic_cast<FormTimer&>(monitor);
        while (timer.LabelTitle->text() == FormTimer::kRunning && ticks < 10) ++ticks, rec.fireTickers();
        timer.CommandQuit->click();
        return 0;
    };
    form->engineRun.engineTaskId = 77;  // an earlier run's engine is not this run's
    form->mnuRunitem->trigger();
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[0].text, "Could not start vormcalc!");
    EXPECT_EQ(rec.messages[0].title, "Error");
    EXPECT_EQ(rec.messages[1].text, "The engine ended without a result.") << "status ' start' after a grace tick";
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(rec.log.join('\n').contains("stop"));
    EXPECT_EQ(readFile(paths.workFile("status")), " THE ENGINE ENDED WITHOUT A RESULT.\n");
}

TEST_F(RunCommand, AJobFileThatCannotBeWrittenStopsTheRun) {
    readyToRun();
    QFile::remove(cmdfle());
    QDir().mkpath(cmdfle());  // a folder where the job file should be
    form->mnuRunitem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "The job could not be written to " + cmdfle() + ".");
    EXPECT_EQ(rec.log, QStringList{"message " + rec.messages[0].title + ": " + rec.messages[0].text});
}

// Every output entry of the menus opens after a stopped run as it opens
// after a completed one, but for one message first that the run did not
// complete and why.  The message goes with that run's files: an entry whose
// files are not there, also once New has deleted them, shows only that.
TEST(StoppedRun, EveryOutputOpensAfterOneMessageThatTheRunDidNotComplete) {
    test::TempFolder root;
    const AppPaths paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home"));
    QDir().mkpath(paths.workDir());
    RecordingServices rec;
    FrontEnd front(rec, paths);
    ASSERT_TRUE(front.form.Form_Load());
    for (const char* name : {"FT06F001", "FT15F001", "FT16F001", "FT17F001"}) writeFile(paths.workFile(name), "x\n");
    for (const char* base : {"PLOT101", "PLOT201", "PLOT301", "PLOT4", "PLOT501", "PLOT6", "PLOT7", "PLOTEAP"})
        writeFile(paths.workFile(base + QStringLiteral(".DAT")), "-4 .2\n4 .6\n");
    FormMain& f = front.form;
    QAction* const outputs[] = {f.mnuExeInfo,
                                f.mnuItemPara,
                                f.mnuPersonPara,
                                f.mnuFitStat,
                                f.mnuResponseFrequency,
                                f.mnuItemFitPlot,
                                f.mnuProbability,
                                f.mnuItemCharacteristicCurve,
                                f.mnuTestCharacteristicCurve,
                                f.mnuInfoCurve,
                                f.mnuTestInfoCurve,
                                f.mnuExpectedObservedResponse,
                                f.mnuEATEstimateDistribution,
                                f.mnuItemLocationEstimates,
                                f.mnuLatentTraitDistribution};
    const auto opening = [&](QAction* entry, const QByteArray& status) {
        writeFile(paths.workFile("status"), status);
        rec.log.clear();
        entry->trigger();
        return rec.log;
    };
    const QString warning =
        "message VORM2004: The last run did not complete, so its output files may be "
        "incomplete.\n\nIts status file says:\n THE RUN WAS STOPPED BY THE USER.";
    // The run wrote no location and latent density files.
    const auto there = [&](QAction* entry) {
        return entry != f.mnuItemLocationEstimates && entry != f.mnuLatentTraitDistribution;
    };
    for (QAction* entry : outputs) {
        const QStringList completed = opening(entry, " end\n");
        EXPECT_FALSE(completed.join('\n').contains("did not complete")) << entry->objectName().toStdString();
        EXPECT_EQ(opening(entry, " THE RUN WAS STOPPED BY THE USER.\n"),
                  there(entry) ? QStringList{warning} + completed : completed)
            << entry->objectName().toStdString();
    }

    f.mnuNewitem->trigger();
    for (QAction* entry : outputs) {
        const QStringList log = opening(entry, " THE RUN WAS STOPPED BY THE USER.\n");
        ASSERT_EQ(log.size(), 1) << entry->objectName().toStdString();
        EXPECT_TRUE(log[0].endsWith(" not available.")) << log[0].toStdString();
    }
}

}  // namespace
}  // namespace vormgui
