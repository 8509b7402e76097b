// Job pages without windows, for the tests of the job file commands and Run.
#pragma once

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <functional>
#include <memory>
#include <random>
#include <type_traits>

#include "app/FormMain.h"
#include "core/JobFile.h"
#include "core/JobPage.h"
#include "core/JobPagesAccess.h"
#include "gui_test_support.h"
#include "platform/Numbers.h"
#include "widgets/QtServices.h"
#include "widgets/RecordingServices.h"

namespace vormgui::test {

// What the pages show after the job reset, from the table of the reset:
// a grid of n + 1 rows gives n cells.
inline JobControls newJobControls() {
    JobControls c;
    c.quadraturePoints = "30";
    c.numberOfItems = "2";
    c.categoriesConstant = true;
    c.numberOfCategories = "2";
    c.categoryCells = {"", ""};
    c.cutoffConstant = true;
    c.cutoff = "0";
    c.cutoffCells = {"", ""};
    c.itemsToDiscard = "1";
    c.itemCells = {""};
    c.subjectsToDiscard = "1";
    c.subjectCells = {""};
    c.signCells = {"", ""};
    c.outerCycles = "100";
    c.innerCycles = "10";
    c.thresholdIterations = "30";
    c.itemIterations = "30";
    c.criterion = "0.001";
    c.plotGroups = "2";
    c.thetaDeltaGroups = "2";
    c.fitGroups = "2";
    c.itemTCutoff = "2.576";
    c.itemChiSquareCutoff = "0.01";
    c.personTCutoff = "3.291";
    c.personChiSquareCutoff = "0.001";
    c.localizedPersonTCutoff = "2.576";
    return c;
}

// The record's fields that the job file carries, as text.
inline QStringList carried(const JobSettings& j) {
    QStringList s;
    const auto add = [&s](const char* name, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>)
            s << QString::fromLatin1(name) + "=" + value;
        else if constexpr (std::is_integral_v<std::decay_t<decltype(value)>>)
            s << QString::fromLatin1(name) + "=" + QString::number(value);
        else
            s << QString::fromLatin1(name) + "=" + messageNumber(static_cast<double>(value));
    };
    add("model", j.modelNumber), add("constraint", j.useConstraint), add("reverse", j.reverseSigns);
    add("quad", j.numQuadraturePoints), add("data", j.dataFileName), add("format", j.fortranFormat);
    add("items", j.numItems), add("catConst", j.categoriesConstant), add("recode", j.recodeData);
    add("cutConst", j.cutoffConstant);
    for (int i = j.categoriesConstant ? 0 : 1; i <= (j.categoriesConstant ? 0 : j.numItems); ++i)
        add("cat", j.numCategories[i]);
    for (int i = j.cutoffConstant ? 0 : 1; i <= (j.cutoffConstant ? 0 : j.numItems); ++i)
        add("cut", j.responseCutoff[i]);
    add("discardItems", j.discardItems), add("discardSubjects", j.discardSubjects), add("signs", j.manualSigns);
    for (int i = 1; j.discardItems && i <= j.numItemsToDiscard; ++i) add("item", j.itemsToDiscard[i]);
    for (int i = 1; j.discardSubjects && i <= j.numSubjectsToDiscard; ++i) add("subject", j.subjectsToDiscard[i]);
    for (int i = 1; j.manualSigns && i <= j.numItems; ++i) add("sign", j.initialSigns[i]);
    add("outer", j.numOuterCycles), add("inner", j.numInnerCycles), add("thr", j.numThresholdIterations);
    add("itIter", j.numItemIterations), add("conv", j.convergenceCriterion), add("plots", j.wantPlots);
    add("plotGroups", j.numPlotGroups), add("tdGroups", j.numThetaDeltaGroups), add("fit", j.wantFitStatistics);
    add("fitGroups", j.numFitGroups), add("printAll", j.printPersonFit), add("itT", j.itemTCutoff);
    add("itChi", j.itemChiSquareCutoff), add("psT", j.personTCutoff), add("psChi", j.personChiSquareCutoff);
    add("psLoc", j.localizedPersonTCutoff);
    return s;
}

// A valid job as the pages would hold it: every box in the form a page
// writes back, and what the file does not carry at its reset value.
inline void randomJob(std::mt19937& rng, JobControls& c, JobSettings& j) {
    const auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    const auto coin = [&pick] { return pick(0, 1) == 1; };
    const auto text = [](auto n) { return QString::number(n); };
    c = newJobControls();
    setNewJobDefaults(j);
    j.modelNumber = static_cast<std::int16_t>(pick(1, 8));
    c.checkedModel = j.modelNumber;
    j.useConstraint = coin(), j.reverseSigns = coin();
    j.numQuadraturePoints = static_cast<std::int16_t>(pick(1, 50)), c.quadraturePoints = text(j.numQuadraturePoints);
    c.dataFile = j.dataFileName = QStringLiteral("/data/set %1/résumé.dat").arg(pick(1, 99));
    c.fortranFormat = j.fortranFormat = QStringLiteral("(I5,1X,%1I1)").arg(pick(1, 99));
    j.numItems = static_cast<std::int16_t>(pick(1, 100)), c.numberOfItems = text(j.numItems);
    c.cutoffCells = QStringList(j.numItems, QString());
    c.categoriesConstant = j.categoriesConstant = coin();
    c.cutoffConstant = j.cutoffConstant = coin();
    const int constantCats = pick(2, 10);
    j.numCategories[0] = static_cast<std::int16_t>(constantCats);
    if (j.categoriesConstant) c.numberOfCategories = text(constantCats);
    if (!j.categoriesConstant) c.categoryCells.clear();
    for (int i = 1; i <= j.numItems; ++i) {
        const int cats = j.categoriesConstant ? constantCats : pick(2, 10);
        if (!j.categoriesConstant) j.numCategories[i] = static_cast<std::int16_t>(cats), c.categoryCells << text(cats);
        if (!j.cutoffConstant) j.responseCutoff[i] = static_cast<std::int16_t>(pick(0, cats - 1));
        if (!j.cutoffConstant) c.cutoffCells[i - 1] = text(j.responseCutoff[i]);
    }
    j.responseCutoff[0] = static_cast<std::int16_t>(pick(0, constantCats - 1));
    if (j.cutoffConstant) c.cutoff = text(j.responseCutoff[0]);
    c.recode = j.recodeData = coin();
    if ((c.discardItems = j.discardItems = coin())) {
        j.numItemsToDiscard = static_cast<std::int16_t>(pick(1, 5)), c.itemsToDiscard = text(j.numItemsToDiscard);
        c.itemCells.clear();
        for (int i = 1; i <= j.numItemsToDiscard; ++i)
            j.itemsToDiscard[i] = static_cast<std::int16_t>(pick(1, 100)), c.itemCells << text(j.itemsToDiscard[i]);
    }
    if ((c.discardSubjects = j.discardSubjects = coin())) {
        j.numSubjectsToDiscard = static_cast<std::int16_t>(pick(1, 5));
        c.subjectsToDiscard = text(j.numSubjectsToDiscard);
        c.subjectCells.clear();
        // Identifiers of any width the engine reads, from short ones to 64 bits.
        std::uniform_int_distribution<std::int64_t> any(INT64_MIN, INT64_MAX);
        for (int i = 1; i <= j.numSubjectsToDiscard; ++i)
            j.subjectsToDiscard[i] = coin() ? pick(-50, 9999999) : any(rng),
            c.subjectCells << text(j.subjectsToDiscard[i]);
    }
    if ((j.manualSigns = coin())) {
        c.signCells.clear();
        for (int i = 1; i <= j.numItems; ++i)
            j.initialSigns[i] = coin(), c.signCells << (j.initialSigns[i] ? "+" : "-");
    }
    j.numOuterCycles = static_cast<std::int16_t>(pick(5, 999)), c.outerCycles = text(j.numOuterCycles);
    j.numInnerCycles = static_cast<std::int16_t>(pick(1, 99)), c.innerCycles = text(j.numInnerCycles);
    j.numThresholdIterations = static_cast<std::int16_t>(pick(1, 99));
    c.thresholdIterations = text(j.numThresholdIterations);
    j.numItemIterations = static_cast<std::int16_t>(pick(1, 99)), c.itemIterations = text(j.numItemIterations);
    const double criteria[] = {0.01, 0.005, 0.001, 1e-4, 1e-07, 0.0};
    j.convergenceCriterion = criteria[pick(0, 5)], c.criterion = boxText(j.convergenceCriterion);
    if ((j.wantPlots = coin())) {
        j.numPlotGroups = static_cast<std::int16_t>(pick(2, 20)), c.plotGroups = text(j.numPlotGroups);
        j.numThetaDeltaGroups = static_cast<std::int16_t>(pick(2, 2000));
        c.thetaDeltaGroups = text(j.numThetaDeltaGroups);
    }
    if ((j.wantFitStatistics = coin())) {
        j.numFitGroups = static_cast<std::int16_t>(pick(1, 20)), c.fitGroups = text(j.numFitGroups);
        c.printPersonFit = j.printPersonFit = coin();
        const double reals[] = {2.576, 1.96, -1.5, 0.05, 0.2, 0.001, 3.291, 0.0};
        for (auto [field, box] : std::initializer_list<std::pair<double*, QString*>>{
                 {&j.itemTCutoff, &c.itemTCutoff},
                 {&j.itemChiSquareCutoff, &c.itemChiSquareCutoff},
                 {&j.personTCutoff, &c.personTCutoff},
                 {&j.personChiSquareCutoff, &c.personChiSquareCutoff},
                 {&j.localizedPersonTCutoff, &c.localizedPersonTCutoff}})
            *field = reals[pick(0, 7)], *box = boxText(*field);
    }
}

// Pages that are only their controls' values; registered with addPage, the
// job reset puts newJobControls() back, as the real pages do.
class FakeJobPages : public JobPage, public JobPagesAccess {
public:
    QString pageName() const override { return QStringLiteral("FakeJobPages"); }
    void newJob(const JobSettings&) override {
        shown = newJobControls();
        constraintYes = false;
    }

    JobControls shown = newJobControls();
    bool constraintYes = false;  // FormConstraint.OptionYes
    int noConstraintSelections = 0;

    JobControls controls() const override {
        JobControls c = shown;
        c.checkedModel = 0;
        return c;
    }
    void showJob(const JobControls& controls, const JobSettings& job) override {
        shown = controls;
        shown.checkedModel = 0;  // the Model menu is the main window's
        constraintYes = job.useConstraint;
    }
    void selectNoConstraint() override {
        constraintYes = false;
        ++noConstraintSelections;
    }
    void setDataFile(const QString& path) override { shown.dataFile = path; }
};

// The engine's process services of the program itself, under the
// recorder's boxes and log: tests that start a real process.
class LiveEngine : public RecordingServices {
public:
    qint64 startEngine(const QString& program, const QStringList& arguments, const QString& folder) override {
        RecordingServices::startEngine(program, arguments, folder);
        lastPid = real.startEngine(program, arguments, folder);
        return lastPid;
    }
    bool stopEngine(qint64 pid, const QString& program) override {
        RecordingServices::stopEngine(pid, program);
        return real.stopEngine(pid, program);
    }
    bool engineRunning(qint64 pid, const QString& program) override { return real.engineRunning(pid, program); }

    QtServices real;
    qint64 lastPid = 0;  // the engine of the run under way
};

// A guard against hanging only, generous for a loaded machine.
inline bool waitFor(const std::function<bool()>& condition, int ms = 60000) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

// A main window over fake pages in an application folder of its own, with
// its work folder; the job is reset as at start-up.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir().mkpath(paths.workDir());
        form = std::make_unique<FormMain>(rec, paths);
        form->jobSettings.appDir = paths.appDir();
        form->addPage(pages);
        form->setJobPages(pages);
        form->newJob();
    }

    QString cmdfle() const { return paths.workFile(QStringLiteral("CMDFLE")); }
    // The lines of a job file; its last CR LF ends the last line.
    static QStringList jobLines(const QString& path) {
        QStringList lines = QString::fromUtf8(readFile(path)).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

    TempFolder root;
    AppPaths paths;
    RecordingServices rec;
    FakeJobPages pages;
    std::unique_ptr<FormMain> form;
};

}  // namespace vormgui::test
