#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "JobTestSupport.h"
#include "app/FrontEnd.h"
#include "engine_jobs.h"
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

// Every check comes before anything is deleted: a refused Run leaves the
// last run's outputs, the job file and the status as they were, and starts
// nothing.  The first failing check speaks, in Run's order.
TEST_F(RunCommand, ARefusedRunDeletesWritesAndStartsNothing) {
    const struct {
        const char* what;
        std::function<void(FormMain&, test::FakeJobPages&)> spoil;
        const char* text;
        const char* title;
    } refusals[] = {
        {"inconsistent cutoffs and no model",
         [](FormMain& f, auto&) { f.jobSettings.responseCutoff[0] = 2, f.setModelNumber(0); },
         "The response cutoff for some item is inconsistent with the number of response categories for that item. "
         "VORM2004 will abort!!",
         "Error!"},
        {"no model, no data file, no format",
         [](FormMain& f, auto&) {
             f.setModelNumber(0);
             f.jobSettings.dataFileName.clear(), f.jobSettings.fortranFormat.clear();
         },
         "Please indicate the model!", "Not ready to run!"},
        {"no data file", [](FormMain& f, auto&) { f.jobSettings.dataFileName.clear(); },
         "Please indicate the data file path!", "Not ready to run!"},
        {"no format", [](FormMain& f, auto&) { f.jobSettings.fortranFormat.clear(); },
         "Please fill in the fortran format!", "Not ready to run!"},
        {"variable categories with model 3",
         [](FormMain& f, auto& p) { f.setModelNumber(3), p.shown.categoriesConstant = false; },
         "Variable categories cannot be selected with models 1, 3, 5, or 7.", "Not ready to run!"},
        {"150 items", [](FormMain&, auto& p) { p.shown.numberOfItems = "150"; },
         "The number of items on the Item Definitions page must be a whole number from 1 to 100.", "Not ready to run!"},
    };
    for (const auto& r : refusals) {
        form->newJob();
        readyToRun();
        fillWorkFolder();
        const QByteArray job = readFile(cmdfle());
        r.spoil(*form, pages);
        rec.messages.clear();
        rec.log.clear();
        form->mnuRunitem->trigger();
        ASSERT_EQ(rec.messages.size(), 1u) << r.what;
        EXPECT_EQ(rec.messages[0].text, QString::fromLatin1(r.text)) << r.what;
        EXPECT_EQ(rec.messages[0].title, QString::fromLatin1(r.title)) << r.what;
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation) << r.what;
        EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "FT06F001", "PLOT1A.DAT", "VORM.lock", "status"}))
            << r.what;
        EXPECT_EQ(readFile(paths.workFile("status")), " end\n") << r.what;
        EXPECT_EQ(readFile(cmdfle()), job) << r.what;
        EXPECT_FALSE(rec.log.join('\n').contains("start")) << r.what;
    }
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

TEST_F(RunCommand, AJobFileThatCannotBeWrittenStopsTheRunWithTheOutputsKept) {
    readyToRun();
    fillWorkFolder();
    QFile::remove(cmdfle());
    QDir().mkpath(cmdfle());  // a folder where the job file should be
    form->mnuRunitem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "The job could not be written to " + cmdfle() + ".");
    EXPECT_EQ(rec.log, QStringList{"message " + rec.messages[0].title + ": " + rec.messages[0].text});
    EXPECT_EQ(readFile(paths.workFile("FT06F001")), " end\n");
    EXPECT_EQ(readFile(paths.workFile("PLOT1A.DAT")), " end\n");
}

// Every output entry of the menus opens after a stopped run as it opens
// after a completed one, but for one message first that the run did not
// complete and why.  The message goes with that run's files: an entry whose
// files are not there, also once New has deleted them, shows only that.
TEST(StoppedRun, EveryOutputOpensAfterOneMessageThatTheRunDidNotComplete) {
    test::TempFolder root, run;
    const AppPaths paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home"));
    QDir().mkpath(paths.workDir());
    RecordingServices rec;
    FrontEnd front(rec, paths);
    ASSERT_TRUE(front.form.Form_Load());
    // A real run's files, but for the location and latent density plots.
    const QString outputs = test::runExampleWithPlotsAndFit(run.path());
    for (const QString& name : QDir(outputs).entryList(QDir::Files)) {
        if (name.startsWith(QLatin1String("PLOTLOC")) || name.startsWith(QLatin1String("PLOTLAT"))) continue;
        ASSERT_TRUE(QFile::copy(outputs + name, paths.workFile(name))) << name.toStdString();
    }
    FormMain& f = front.form;
    const std::pair<QAction*, const char*> entries[] = {
        {f.mnuExeInfo, "FormExecInfoOutput"},
        {f.mnuItemPara, "FormParaOutput"},
        {f.mnuPersonPara, "FormPersonOutput"},
        {f.mnuFitStat, "FormStatOutput"},
        {f.mnuResponseFrequency, "FormPlotFrequency"},
        {f.mnuItemFitPlot, "FormPlotFit"},
        {f.mnuProbability, "FormPlotProb"},
        {f.mnuItemCharacteristicCurve, "FormPlotExp"},
        {f.mnuTestCharacteristicCurve, "FormPlotTestChar"},
        {f.mnuInfoCurve, "FormPlotInfo"},
        {f.mnuTestInfoCurve, "FormPlotTestInfo"},
        {f.mnuExpectedObservedResponse, "FormPlotExpectedObservedResponse"},
        {f.mnuEATEstimateDistribution, "FormPlotEAPEstimate"},
        {f.mnuItemLocationEstimates, nullptr},
        {f.mnuLatentTraitDistribution, nullptr},
    };
    const auto opening = [&](QAction* entry, const QByteArray& status) {
        writeFile(paths.workFile("status"), status);
        rec.log.clear();
        entry->trigger();
        return rec.log;
    };
    const QString warning =
        "message VORM2004: The last run did not complete, so its output files may be "
        "incomplete.\n\nIts status file says:\n THE RUN WAS STOPPED BY THE USER.";
    for (const auto& [entry, window] : entries) {
        SCOPED_TRACE(entry->objectName().toStdString());
        const QStringList completed = opening(entry, " end\n");
        if (window) {
            EXPECT_EQ(completed, QStringList{"modal " + QString::fromLatin1(window)});
        } else {
            ASSERT_EQ(completed.size(), 1);
            EXPECT_TRUE(completed[0].endsWith(" are not available.")) << completed[0].toStdString();
        }
        EXPECT_EQ(opening(entry, " THE RUN WAS STOPPED BY THE USER.\n"),
                  window ? QStringList{warning} + completed : completed);
    }

    f.mnuNewitem->trigger();
    for (const auto& [entry, window] : entries) {
        const QStringList log = opening(entry, " THE RUN WAS STOPPED BY THE USER.\n");
        ASSERT_EQ(log.size(), 1) << entry->objectName().toStdString();
        EXPECT_TRUE(log[0].endsWith(" not available.")) << log[0].toStdString();
    }
}

// A program folder whose name is not UTF-8 reaches the engine's job file
// byte for byte: an empty data box names INDATA.DAT there.
TEST(ProgramFolderNotUtf8, TheJobFileNamesItAsItIs) {
    const test::NonUtf8Folder program;
    const QByteArray& folder = program.bytes();
    RecordingServices rec;
    FrontEnd front(rec, AppPaths::forProgramFolder(folder));
    ASSERT_TRUE(front.form.Form_Load());
    std::ifstream job(program.path() / "TEMPFILE" / "CMDFLE", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(job), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("\r\n" + folder.toStdString() + "/INDATA.DAT\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vormgui
