// The front end's job file against the real engine: the engine reads a job
// written by the main window and lists its run-time parameters in its report.
// Every later answer shows there, so a line too many or too few anywhere
// (a per-item list, a discard list, the signs) shifts what the listing says.
// The data file does not exist, so the engine stops right after the listing.
#include <gtest/gtest.h>

#include <QProcess>
#include <functional>

#include "JobTestSupport.h"
#include "gui_test_support.h"

namespace vormgui {
namespace {

// The report's lines with runs of blanks made one and the ends trimmed.
QStringList normalised(const QByteArray& report) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(report).split('\n')) lines << line.simplified();
    return lines;
}

class EngineReadsTheJob : public test::MainWindowTest {
protected:
    void job(int model, const std::function<void(JobSettings&, JobControls&)>& change) {
        form->setModelNumber(model);
        JobSettings& j = form->jobSettings;
        j.dataFileName = pages.shown.dataFile = root.file("no such data.dat");
        j.fortranFormat = pages.shown.fortranFormat = "(I5,1X,12I1)";
        pages.shown.numberOfItems = "12";
        j.numItems = 12;
        change(j, pages.shown);
    }

    // Writes the job as File Save does, runs the engine on it and checks that
    // the listing holds `expected` in this order (other lines may come between).
    void expectListing(const QStringList& expected) {
        const QString jobFile = root.file("job.cmd");
        form->jobSettings.jobFileName = jobFile;
        form->mnuSaveItem->trigger();
        QProcess engine;
        engine.setWorkingDirectory(paths.appDir());
        engine.start(QStringLiteral(VORM_ENGINE), {jobFile, paths.workDir()});
        ASSERT_TRUE(engine.waitForFinished(20000));
        const QStringList listing = normalised(test::readFile(paths.workFile("FT06F001")));
        qsizetype at = 0;
        for (const QString& line : expected) {
            const qsizetype found = listing.indexOf(line, at);
            ASSERT_GE(found, 0) << "missing or out of order: " << line.toStdString() << "\n"
                                << listing.join('\n').toStdString();
            at = found + 1;
        }
        EXPECT_TRUE(listing.indexOf("********** END OF PARAMETER LISTING **********", at) >= 0);
        EXPECT_NE(test::readFile(paths.workFile("status")), " start\n") << "the engine could not read the job";
    }
};

TEST_F(EngineReadsTheJob, CommonUnitModelWithDiscardsSignsPlotsAndFit) {
    job(1, [](JobSettings& j, JobControls& c) {
        j.useConstraint = true;  // taken back for model 1 before the write
        j.manualSigns = true;
        for (int i = 1; i <= 12; ++i) j.initialSigns[i] = i % 3 != 0;
        c.numberOfCategories = "4", c.cutoff = "3";
        c.discardItems = true, c.itemsToDiscard = "2", c.itemCells = {"3", "11"};
        c.discardSubjects = true, c.subjectsToDiscard = "1", c.subjectCells = {"1001"};
        c.quadraturePoints = "20", c.outerCycles = "25", c.innerCycles = "3";
        c.thresholdIterations = "7", c.itemIterations = "8", c.criterion = "0.0005";
        j.wantPlots = true, c.plotGroups = "5", c.thetaDeltaGroups = "40";
        j.wantFitStatistics = true, c.fitGroups = "4", c.printPersonFit = true;
        c.itemTCutoff = "2.5", c.itemChiSquareCutoff = "0.05", c.personTCutoff = "3";
        c.personChiSquareCutoff = "0.02", c.localizedPersonTCutoff = "1.75";
    });
    expectListing({"REQUESTED MODEL IS: 1-PARAMETER QAV WITH SINGLE UNIT PARAMETER",
                   "NO CONSTRAINTS ARE USED.",
                   "EACH ITEM HAS 4 RESPONSE CATEGORIES",
                   "EXTREME RESPONSE CUTOFF VALUE (AFTER RECODE): 3",
                   "THE USER HAS REQUESTED THAT 2 ITEMS BE DELETED. THESE ITEMS ARE:",
                   "3",
                   "11",
                   "THE USER HAS REQUESTED THAT 1 SUBJECTS BE DELETED. THESE SUBJECTS ARE:",
                   "1001",
                   "THE NUMBER OF QUADRATURE POINTS USED IS: 20",
                   "MAXIMUM NUMBER OF OUTER (EXPECTATION) CYCLES IS: 25",
                   "MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR UNIT VALUE(S) IS(ARE): 7",
                   "CONVERGENCE CRITERION FOR ALL MAXIMIZATION STEPS IS: 0.00050",
                   "THE NUMBER OF FIT GROUPS REQUESTED IS: 4",
                   "ALPHA LEVEL TO DECLARE AN ITEM CHI-SQUARE SIGNIFICANT: 0.05000",
                   "SIGNIFICANT: 2.50000",
                   "PERSON FIT STATISTICS ARE PRINTED FOR ALL PERSONS REGARDLESS OF DEGREE OF FIT",
                   "ALPHA LEVEL TO DECLARE AN PERSON CHI-SQUARE SIGNIFICANT: 0.02000",
                   "SIGNIFICANT: 3.00000",
                   "SIGNIFICANT: 1.75000"});
}

TEST_F(EngineReadsTheJob, UnitPerItemModelWithCategoriesAndCutoffsPerItem) {
    job(6, [](JobSettings& j, JobControls& c) {
        j.useConstraint = true;
        c.categoriesConstant = c.cutoffConstant = false;
        c.categoryCells = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "10", "3", "2"};
        c.cutoffCells = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "2", "1"};
        c.outerCycles = "6", c.innerCycles = "2", c.thresholdIterations = "4", c.itemIterations = "5";
    });
    expectListing({"REQUESTED MODEL IS: 2-PARAMETER QAV WITH VARYING UNIT PARAMETERS ACROSS ITEMS",
                   "AND A DISCRIMINATION PARAMETER FOR EACH ITEM",
                   "THE AVERAGE VALUE OF EACH LAMBDA PARAMETER IS CONSTRAINED TO BE EQUAL TO THE LAMBDAS",
                   "OBTAINED INITIALLY WITH MODEL 5 (I.E., A COMMON SET OF LAMBDAS ACROSS ITEMS)",
                   "NUMBER OF RESPONSE CATEGORIES MAY VARY ACROSS ITEMS", "RESPONSE CUTOFF VALUE MAY VARY ACROSS ITEMS",
                   "MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR UNIT VALUE(S) IS(ARE): 4",
                   "MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR ITEM PARAMETERS IS: 5"});
}

TEST_F(EngineReadsTheJob, CommonThresholdModelWithCutoffsPerItemAndRecoding) {
    job(7, [](JobSettings& j, JobControls& c) {
        c.recode = true;
        c.numberOfCategories = "5";
        c.cutoffConstant = false;
        c.cutoffCells = {"0", "1", "2", "3", "4", "0", "1", "2", "3", "4", "0", "1"};
        j.wantFitStatistics = true, c.fitGroups = "3", c.itemChiSquareCutoff = "0.2";
        c.thresholdIterations = "11", c.itemIterations = "12", c.criterion = "0";
    });
    expectListing({"REQUESTED MODEL IS: GENERAL QAV WITH CONSTANT THRESHOLDS ACROSS ITEMS",
                   "AND A DISCRIMINATION PARAMETER FOR EACH ITEM", "NO CONSTRAINTS ARE USED.",
                   "EACH ITEM HAS 5 RESPONSE CATEGORIES", "RESPONSE CODES ARE REDUCED (RECODED) BY ONE",
                   "RESPONSE CUTOFF VALUE MAY VARY ACROSS ITEMS",
                   "MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR TAU VALUES IS: 11",
                   "CONVERGENCE CRITERION FOR ALL MAXIMIZATION STEPS IS: 0.00000",
                   "THE NUMBER OF FIT GROUPS REQUESTED IS: 3",
                   "ALPHA LEVEL TO DECLARE AN ITEM CHI-SQUARE SIGNIFICANT: 0.20000",
                   "PERSON FIT STATISTICS ARE PRINTED ONLY FOR ILL-FITTING PERSONS AS",
                   "ALPHA LEVEL TO DECLARE AN PERSON CHI-SQUARE SIGNIFICANT: 0.00100", "SIGNIFICANT: 3.29100",
                   "SIGNIFICANT: 2.57600"});
}

TEST_F(EngineReadsTheJob, ThresholdPerItemModelWithEverythingPerItem) {
    job(4, [](JobSettings& j, JobControls& c) {
        j.useConstraint = j.reverseSigns = j.manualSigns = true;
        for (int i = 1; i <= 12; ++i) j.initialSigns[i] = i % 2 == 0;
        c.categoriesConstant = c.cutoffConstant = false;
        c.categoryCells = {"6", "6", "5", "5", "4", "4", "3", "3", "2", "2", "7", "8"};
        c.cutoffCells = {"5", "0", "4", "0", "3", "0", "2", "0", "1", "0", "6", "7"};
        c.discardItems = true, c.itemsToDiscard = "3", c.itemCells = {"12", "1", "7"};
        c.discardSubjects = true, c.subjectsToDiscard = "2", c.subjectCells = {"5", "-3"};
        c.quadraturePoints = "50", c.outerCycles = "5", c.innerCycles = "1";
        c.thresholdIterations = "1", c.itemIterations = "1", c.criterion = "0.01";
        j.wantPlots = true, c.plotGroups = "20", c.thetaDeltaGroups = "2000";
    });
    expectListing({"REQUESTED MODEL IS: GENERAL QAV WITH VARYING THRESHOLDS ACROSS ITEMS",
                   "THE AVERAGE VALUE OF EACH THRESHOLD PARAMETER IS CONSTRAINED TO BE EQUAL TO THE THRESHOLDS",
                   "OBTAINED INITIALLY WITH MODEL 3 (I.E., A COMMON SET OF THRESHOLDS ACROSS ITEMS)",
                   "NUMBER OF RESPONSE CATEGORIES MAY VARY ACROSS ITEMS", "RESPONSE CUTOFF VALUE MAY VARY ACROSS ITEMS",
                   "THE USER HAS REQUESTED THAT 3 ITEMS BE DELETED. THESE ITEMS ARE:", "12", "1", "7",
                   "THE USER HAS REQUESTED THAT 2 SUBJECTS BE DELETED. THESE SUBJECTS ARE:", "5", "-3",
                   "THE NUMBER OF QUADRATURE POINTS USED IS: 50", "MAXIMUM NUMBER OF OUTER (EXPECTATION) CYCLES IS: 5",
                   "MAXIMUM NUMBER OF FISHER SCORING ITERATIONS FOR ITEM PARAMETERS IS: 1",
                   "CONVERGENCE CRITERION FOR ALL MAXIMIZATION STEPS IS: 0.01000"});
}

}  // namespace
}  // namespace vormgui
