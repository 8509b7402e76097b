// Job pages without windows, for the tests of the job file commands and Run.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <memory>

#include "gui_test_support.h"
#include "platform/RecordingServices.h"
#include "shell/FormMain.h"
#include "shell/JobFile.h"
#include "shell/JobPage.h"
#include "shell/JobPagesAccess.h"

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
};

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
