// A whole job entered as a user would: every page filled after a new job,
// every walk started from its menu entry and each page left with Next (OK
// where a walk ends), then the record compared with what was typed.
#include <QAction>
#include <QProcess>
#include <QPushButton>
#include <functional>
#include <random>

#include "PageFixture.h"
#include "core/JobFile.h"
#include "core/RunControl.h"
#include "dialogs/CutoffPages.h"
#include "dialogs/DiscardPages.h"
#include "dialogs/EstimationPages.h"
#include "dialogs/FitPages.h"
#include "dialogs/FormItemPrior.h"
#include "dialogs/JobPageControls.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/SignPages.h"

namespace vormgui {
namespace {

class JobWalkTest : public test::PageTest {
protected:
    JobWalkTest() {
        rec.onModal = [](QDialog& shown) {
            auto& page = dynamic_cast<WizardPage&>(shown);
            if (page.CommandNext && page.CommandNext->isEnabled())
                page.CommandNext_Click();
            else
                page.CommandOK_Click();
            return 0;
        };
    }
};

TEST_F(JobWalkTest, EveryWalkFromANewJobStoresWhatWasEntered) {
    JobPages& p = pages;
    form.newJob();
    p.dataFile->setDataFileText("/data/ATTITUDE.DAT");
    p.dataFile->setFormatText("(i5,1x,5i1)");
    p.dataFile->setRecode(true);
    p.itemDef->setItemsText("5");
    p.itemDef->setCategoriesConstant(false);
    p.categories->setValues({"4", "3", "5", "4", "6"});
    choose(p.cutoff->OptionVariable);
    p.cutoff->setValues({"1", "2", "0", "3", "5"});
    p.deleteItems->setDiscard(true);
    p.deleteItems->setCountText("2");
    p.itemsDiscarded->setValues({"2", "4"});
    p.deleteSubjects->setDiscard(true);
    p.deleteSubjects->setCountText("3");
    p.subjectsDiscarded->setValues({"1017", "-5", "12"});
    p.initSigns->setManual(true);
    p.manualAssign->setValues({"+", "-", "+", "+", "-"});
    p.quadrature->setPointsText("21");
    const char* limits[] = {"200", "20", "15", "25", "0.0001"};
    for (int b = 0; b < 5; ++b) p.algorithm->setText(FormAlgorithm::Box(b), limits[b]);
    p.constraint->setConstrain(true);
    p.fitGroups->setWanted(true);
    p.fitGroups->setGroupsText("10");
    p.itemFit->setTCutoffText("2");
    p.itemFit->setChiSquareCutoffText("0.05");
    p.personFit->setTCutoffText("2.5");
    p.personFit->setLocalizedCutoffText("2");
    p.personFit->setChiSquareCutoffText("0.01");
    p.personFit->setPrintAll(true);
    p.plotGroups->setWanted(true);
    p.plotGroups->setPlotGroupsText("5");
    p.plotGroups->setThetaDeltaGroupsText("100");

    for (QAction* entry : {form.mnuReaddataitem, form.mnuInitialValues, form.mnuFitGroups, form.mnuPlotitem})
        entry->trigger();
    EXPECT_EQ(modalPages(),
              (QStringList{"FormDataFile", "FormItemDef", "FormCategories", "FormCutoff", "FormDeleteItems",
                           "FormItemsDiscarded", "FormDeleteSubjects", "FormSubjectsDiscarded", "FormInitSigns",
                           "FormManualAssign", "FormQuadrature", "FormAlgorithm", "FormConstraint", "FormFitGroups",
                           "FormItemFit", "FormPersonFit", "FormPlotGroups"}));
    EXPECT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();

    EXPECT_EQ(job.dataFileName, "/data/ATTITUDE.DAT");
    EXPECT_EQ(job.fortranFormat, "(i5,1x,5i1)");
    EXPECT_TRUE(job.recodeData);
    EXPECT_EQ(job.numItems, 5);
    EXPECT_FALSE(job.categoriesConstant);
    EXPECT_FALSE(job.cutoffConstant);
    const int categories[] = {4, 3, 5, 4, 6}, cutoffs[] = {1, 2, 0, 3, 5};
    const bool signs[] = {true, false, true, true, false};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(job.numCategories[i], categories[i - 1]) << i;
        EXPECT_EQ(job.responseCutoff[i], cutoffs[i - 1]) << i;
        EXPECT_EQ(job.initialSigns[i], signs[i - 1]) << i;
    }
    EXPECT_TRUE(job.discardItems);
    EXPECT_EQ(job.numItemsToDiscard, 2);
    EXPECT_EQ(job.itemsToDiscard[1], 2);
    EXPECT_EQ(job.itemsToDiscard[2], 4);
    EXPECT_TRUE(job.discardSubjects);
    EXPECT_EQ(job.numSubjectsToDiscard, 3);
    EXPECT_EQ(job.subjectsToDiscard[1], 1017);
    EXPECT_EQ(job.subjectsToDiscard[2], -5);
    EXPECT_EQ(job.subjectsToDiscard[3], 12);
    EXPECT_FALSE(job.reverseSigns);
    EXPECT_TRUE(job.manualSigns);
    EXPECT_EQ(job.numQuadraturePoints, 21);
    EXPECT_EQ(job.numOuterCycles, 200);
    EXPECT_EQ(job.numInnerCycles, 20);
    EXPECT_EQ(job.numThresholdIterations, 15);
    EXPECT_EQ(job.numItemIterations, 25);
    EXPECT_EQ(job.convergenceCriterion, 0.0001);
    EXPECT_TRUE(job.useConstraint);
    EXPECT_TRUE(job.wantFitStatistics);
    EXPECT_EQ(job.numFitGroups, 10);
    EXPECT_EQ(job.itemTCutoff, 2.0);
    EXPECT_EQ(job.itemChiSquareCutoff, 0.05);
    EXPECT_EQ(job.personTCutoff, 2.5);
    EXPECT_EQ(job.localizedPersonTCutoff, 2.0);
    EXPECT_EQ(job.personChiSquareCutoff, 0.01);
    EXPECT_TRUE(job.printPersonFit);
    EXPECT_TRUE(job.wantPlots);
    EXPECT_EQ(job.numPlotGroups, 5);
    EXPECT_EQ(job.numThetaDeltaGroups, 2) << "kept in its box only";
    EXPECT_EQ(p.plotGroups->thetaDeltaGroupsText(), "100");
    EXPECT_EQ(job.modelNumber, 0);

    // The prior pages walk on and store nothing; their boxes keep the text.
    const QByteArray before = bytes(job);
    rec.log.clear();
    form.munDeltaitem->trigger();
    EXPECT_EQ(modalPages(), (QStringList{"FormDelta", "FormAlpha", "FormTau"}));
    EXPECT_EQ(bytes(job), before);
    p.delta->TextMean->setText("1.5");
    p.delta->CommandCancel_Click();
    EXPECT_EQ(p.delta->TextMean->text(), "1.5");

    // A new job puts every page back to the defaults.
    form.newJob();
    EXPECT_EQ(p.itemDef->itemsText(), "2");
    EXPECT_EQ(p.itemDef->categoriesConstant(), true);
    EXPECT_EQ(p.cutoff->cutoffConstant(), true);
    EXPECT_EQ(p.cutoff->grd->rows(), 3);
    EXPECT_EQ(p.categories->values(), (QStringList{"", ""}));
    EXPECT_EQ(p.itemsDiscarded->values(), QStringList{""});
    EXPECT_EQ(p.deleteSubjects->discard(), false);
    EXPECT_EQ(p.initSigns->manual(), false);
    EXPECT_EQ(p.algorithm->text(FormAlgorithm::Criterion), "0.001");
    EXPECT_EQ(p.plotGroups->thetaDeltaGroupsText(), "2");
    EXPECT_EQ(p.personFit->tCutoffText(), "3.291");
    EXPECT_EQ(p.delta->TextMean->text(), "1.5");
}

TEST_F(JobWalkTest, EscapeAndTheWindowFrameRunCancel) {
    job.numQuadraturePoints = 12;
    for (const bool escape : {true, false}) {
        pages.quadrature->setPointsText("99");
        if (escape) {
            test::key(pages.quadrature, Qt::Key_Escape);
        } else {
            pages.quadrature->show();  // only a window on the screen has a frame to close
            pages.quadrature->close();
            EXPECT_TRUE(pages.quadrature->isHidden());
        }
        EXPECT_EQ(pages.quadrature->pointsText(), "12") << escape;
    }
    test::writeFile(paths.helpDir() + "Quadrature.htm", "<html></html>");
    pages.quadrature->CommandHelp_Click();
    EXPECT_EQ(rec.log, QStringList{"help " + paths.helpDir() + "Quadrature.htm"});
}

// Random entries typed into every page as a user might type them: counts in
// many written forms (blanks, signs, leading zeros), and now and then what a
// page must refuse (a point, an exponent, a word, nothing, a value out of
// range).  Each page of the four walks is filled when it comes up and
// pressed; a page that refuses is cancelled, as a user gives up on it.
// Whatever the pages then hold and Run accepts: every count box holds its
// whole number, and Save, File Open and Save again give the same bytes.
// Jobs shaped like the example data (15 items of 6 categories) run on it,
// and the engine reaches " end".
class RandomEntries : public JobWalkTest {
protected:
    RandomEntries() : rng(2804) {
        form.setJobPages(controls);
        QDir().mkpath(root.file("data"));
        QFile::copy(test::sourceDir() + "examples/EXAMPLE.DAT", root.file("data/EXAMPLE.DAT"));
        rec.onModal = [this](QDialog& shown) {
            auto& page = dynamic_cast<WizardPage&>(shown);
            page.show();  // as the modal display shows it: a page that passes its checks hides
            fill(page);
            const std::size_t before = rec.messages.size();
            if (page.CommandNext && page.CommandNext->isEnabled())
                page.CommandNext_Click();
            else
                page.CommandOK_Click();
            // A refusal leaves the page open, and the user cancels it; a
            // warning after the store (inconsistent cutoffs) does not.
            if (!page.isHidden()) {
                EXPECT_GT(rec.messages.size(), before) << "a page stayed open without a word";
                page.CommandCancel_Click();
                ++refusals;
            }
            return 0;
        };
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    // A count from `low` to `high`, mostly in some written form of it.
    QString count(int low, int high) {
        const int n = pick(low, high);
        if (chance(12)) {
            const QString refused[] = {
                QString::number(n) + ".0", QString::number(n) + ".5", QString::number(n) + "e0", "", "many",
                QString::number(high + 1), QString::number(low - 1),  QString::number(n) + ",0"};
            return refused[pick(0, 7)];
        }
        const QString forms[] = {"%1", " %1", "%1 ", "+%1", "0%1", " +0%1 ", "%1"};
        return forms[pick(0, 6)].arg(n);
    }
    QString real(double value) {
        if (chance(8)) return QStringList{"", "small", "1.D-3", "0,5"}.at(pick(0, 3));
        const QString text = QString::number(value, 'g', 12);
        return QStringList{text, " " + text, text + " ", "+" + text}.at(pick(0, 3));
    }
    QStringList cells(int rows, const std::function<QString()>& cell) {
        QStringList list;
        for (int r = 0; r < rows; ++r) list << cell();
        return list;
    }

    void fill(WizardPage& page) {
        JobPages& p = pages;
        const QString name = page.objectName();
        const int items = shaped ? 15 : 4;
        if (name == "FormDataFile") {
            // The example data named in full, or beside the job file as a
            // job moved with its data names them.
            const QString data[] = {"", test::sourceDir() + "examples/EXAMPLE.DAT", "data/EXAMPLE.DAT",
                                    "./data/../data/EXAMPLE.DAT"};
            p.dataFile->setDataFileText(data[chance(3) ? 0 : pick(1, 3)]);
            p.dataFile->setFormatText(shaped ? "(I5,1X,15I1)" : "(I5,1X,4I1)");
            p.dataFile->setRecode(!shaped && chance(50));
        } else if (name == "FormItemDef") {
            p.itemDef->setItemsText(count(items, items));
            p.itemDef->setCategoriesConstant(chance(75));
            p.itemDef->setCategoriesText(count(shaped ? 6 : 2, shaped ? 6 : 10));
        } else if (name == "FormCategories") {
            p.categories->setValues(
                cells(p.categories->grd->rows() - 1, [&] { return count(shaped ? 6 : 2, shaped ? 6 : 10); }));
        } else if (name == "FormCutoff") {
            p.cutoff->setCutoffConstant(chance(60));
            p.cutoff->setCutoffText(count(0, 1));
            p.cutoff->setValues(cells(p.cutoff->grd->rows() - 1, [&] { return count(0, 1); }));
        } else if (name == "FormDeleteItems") {
            p.deleteItems->setDiscard(chance(40));
            p.deleteItems->setCountText(count(1, 3));
        } else if (name == "FormItemsDiscarded") {
            p.itemsDiscarded->setValues(cells(p.itemsDiscarded->grd->rows() - 1, [&] { return count(1, items); }));
        } else if (name == "FormDeleteSubjects") {
            p.deleteSubjects->setDiscard(chance(40));
            p.deleteSubjects->setCountText(count(1, 3));
        } else if (name == "FormSubjectsDiscarded") {
            p.subjectsDiscarded->setValues(
                cells(p.subjectsDiscarded->grd->rows() - 1, [&] { return count(-20, 800); }));
        } else if (name == "FormInitSigns") {
            p.initSigns->setReverse(chance(20));
            p.initSigns->setManual(chance(40));
        } else if (name == "FormManualAssign") {
            // On the example data, the signs of its items' locations or their
            // mirror image: start values against the data may not converge.
            const bool mirror = chance(50);
            int row = 0;
            p.manualAssign->setValues(cells(p.manualAssign->grd->rows() - 1, [&] {
                const bool plus = shaped ? (++row > 7) != mirror : chance(70);
                return chance(3) ? QString(" +") : QString(plus ? "+" : "-");
            }));
        } else if (name == "FormQuadrature") {
            p.quadrature->setPointsText(count(5, 40));
        } else if (name == "FormAlgorithm") {
            p.algorithm->setText(FormAlgorithm::Outer, count(5, 40));
            p.algorithm->setText(FormAlgorithm::Inner, count(1, 8));
            p.algorithm->setText(FormAlgorithm::Thresholds, count(1, 8));
            p.algorithm->setText(FormAlgorithm::Items, count(1, 8));
            p.algorithm->setText(FormAlgorithm::Criterion,
                                 real(QList<double>{0.01, 0.005, 0.001, 1e-4}.at(pick(0, 3))));
        } else if (name == "FormConstraint") {
            p.constraint->setConstrain(chance(30));
        } else if (name == "FormFitGroups") {
            p.fitGroups->setWanted(chance(50));
            p.fitGroups->setGroupsText(count(2, 20));
        } else if (name == "FormItemFit") {
            p.itemFit->setTCutoffText(real(pick(150, 300) / 100.0));
            p.itemFit->setChiSquareCutoffText(real(QList<double>{0.2, 0.05, 0.01}.at(pick(0, 2))));
        } else if (name == "FormPersonFit") {
            p.personFit->setTCutoffText(real(pick(150, 400) / 100.0));
            p.personFit->setLocalizedCutoffText(real(pick(150, 300) / 100.0));
            p.personFit->setChiSquareCutoffText(real(QList<double>{0.1, 0.01, 0.001}.at(pick(0, 2))));
            p.personFit->setPrintAll(chance(30));
        } else if (name == "FormPlotGroups") {
            p.plotGroups->setWanted(chance(50));
            p.plotGroups->setPlotGroupsText(count(2, 20));
            p.plotGroups->setThetaDeltaGroupsText(count(2, 60));
        }
    }

    // Every count that the job file will carry, as its box or cell holds it.
    QStringList countsCarried(const JobControls& c) const {
        QStringList texts{c.quadraturePoints, c.numberOfItems,       c.outerCycles,
                          c.innerCycles,      c.thresholdIterations, c.itemIterations};
        const int n = job.numItems;
        texts += c.categoriesConstant ? QStringList{c.numberOfCategories} : c.categoryCells.mid(0, n);
        texts += c.cutoffConstant ? QStringList{c.cutoff} : c.cutoffCells.mid(0, n);
        if (c.discardItems)
            texts += c.itemsToDiscard, texts += c.itemCells.mid(0, parseCount(c.itemsToDiscard).value_or(0));
        if (c.discardSubjects)
            texts += c.subjectsToDiscard, texts += c.subjectCells.mid(0, parseCount(c.subjectsToDiscard).value_or(0));
        if (job.wantPlots) texts += {c.plotGroups, c.thetaDeltaGroups};
        if (job.wantFitStatistics) texts += c.fitGroups;
        return texts;
    }

    // The example data hold 15 items of 6 categories (0 to 5) in the format
    // of its job; a page refused on the way leaves another shape.
    bool dataAllow() const {
        if (job.numItems != 15 || job.recodeData || job.fortranFormat != "(I5,1X,15I1)") return false;
        for (int i = job.categoriesConstant ? 0 : 1; i <= (job.categoriesConstant ? 0 : 15); ++i)
            if (job.numCategories[i] != 6) return false;
        const QString data = resolvedDataFile(job.dataFileName, form.jobFolder());
        return data == test::sourceDir() + "examples/EXAMPLE.DAT" || data == root.file("data/EXAMPLE.DAT");
    }

    // One job: a model, the four walks, and the checks that the job allows.
    // Returns whether Run took it.
    bool oneJob(bool runEngine) {
        shaped = chance(70);
        form.newJob();
        // A job of the file it is saved to, so a relative data file is
        // taken from beside that file.
        const QString saved = root.file("saved.cmd"), again = root.file("again.cmd");
        form.jobSettings.jobFileName = saved;
        form.mnuModelitems[pick(0, 7)]->trigger();
        for (QAction* walk : {form.mnuReaddataitem, form.mnuInitialValues, form.mnuFitGroups, form.mnuPlotitem})
            walk->trigger();
        const JobControls shown = form.jobControls();
        if (!cutoffsConsistent(job) || runRefusal(job, shown)) return false;
        for (const QString& text : countsCarried(shown)) {
            const std::optional<int> n = parseCount(text);
            EXPECT_TRUE(n && QString::number(*n) == text) << "a count box holds \"" << text.toStdString() << '"';
        }
        const std::size_t before = rec.messages.size();
        QFile::remove(saved);
        form.mnuSaveItem->trigger();
        const QByteArray first = test::readFile(saved);
        rec.fileAnswers = {saved};
        form.mnuOpenitem->trigger();
        const std::optional<QByteArray> second = form.saveAsFile(again);
        EXPECT_EQ(second, first) << "Save, File Open and Save again wrote another job";
        EXPECT_EQ(first.split('\n').value(4), toJobBytes(shown.dataFile) + '\r') << "the data file as typed";
        EXPECT_TRUE(rec.messages.size() <= before + 1) << rec.messageTexts().join('\n').toStdString();
        EXPECT_FALSE(runRefusal(job, form.jobControls())) << "Run refuses the job it took before Save and Open";
        if (!runEngine || !dataAllow()) return true;
        // The engine reads the job as Run writes it, from a folder of its own.
        const QString cmdfle = paths.workFile("CMDFLE");
        EXPECT_TRUE(form.saveAsFile(cmdfle));
        test::TempFolder work;
        QProcess engine;
        engine.setWorkingDirectory(work.path());
        engine.start(QStringLiteral(VORM_ENGINE), {cmdfle, work.path()});
        EXPECT_TRUE(engine.waitForFinished(120000));
        // A job of few cycles completes with the cycle limit's warning below " end".
        EXPECT_EQ(test::readFile(work.file("status")).split('\n').value(0).toStdString(), " end")
            << test::readFile(cmdfle).toStdString();
        ++engineRuns;
        return true;
    }

    JobPageControls controls{pages};
    std::mt19937 rng;
    bool shaped = false;
    int refusals = 0;
    int engineRuns = 0;
};

TEST_F(RandomEntries, WhatThePagesAndRunAcceptSurvivesSaveAndOpenAndRunsToTheEnd) {
    int taken = 0;
    for (int k = 0; k < 30; ++k) taken += oneJob(engineRuns < 6);
    EXPECT_GT(taken, 10) << "too few jobs taken to test anything";
    EXPECT_GT(refusals, 10) << "too few refusals: the entries were too tame";
    EXPECT_EQ(engineRuns, 6);
}

// The same over many more jobs, every one that the data allow run by the engine.
class SlowRandomEntries : public RandomEntries {};

TEST_F(SlowRandomEntries, ManyMoreJobs) {
    for (int k = 0; k < 400; ++k) oneJob(true);
    EXPECT_GT(engineRuns, 50);
}

}  // namespace
}  // namespace vormgui
