// A whole job entered as a user would: every walk started from its menu
// entry after a new job, each page filled and left with Next (OK on the last
// page of a walk), then the record compared with what was typed.
#include <QAction>
#include <QPushButton>
#include <map>

#include "PageFixture.h"
#include "dialogs/CutoffPages.h"
#include "dialogs/DiscardPages.h"
#include "dialogs/EstimationPages.h"
#include "dialogs/FitPages.h"
#include "dialogs/FormItemPrior.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/SignPages.h"

namespace vormgui {
namespace {

class JobWalkTest : public test::PageTest {
protected:
    // What the user does on each page while it is shown.
    std::map<QString, std::function<void()>> onPage;

    JobWalkTest() {
        rec.onModal = [this](QDialog& page) {
            const auto step = onPage.find(page.objectName());
            if (step == onPage.end()) {
                ADD_FAILURE() << "unexpected page " << page.objectName().toStdString();
                return 0;
            }
            step->second();
            return 0;
        };
    }

    static void fill(Grid* grid, const QStringList& cells) {
        for (int r = 1; r <= cells.size(); ++r) grid->setTextMatrix(r, 1, cells[r - 1]);
    }
};

TEST_F(JobWalkTest, EveryWalkFromANewJobStoresWhatWasEntered) {
    JobPages& p = pages;
    onPage = {
        {"FormDataFile",
         [&] {
             p.dataFile->setDataFileText("/data/ATTITUDE.DAT");
             p.dataFile->setFormatText("(i5,1x,5i1)");
             p.dataFile->setRecode(true);
             p.dataFile->CommandNext_Click();
         }},
        {"FormItemDef",
         [&] {
             p.itemDef->setItemsText("5");
             p.itemDef->setCategoriesConstant(false);
             p.itemDef->CommandNext_Click();
         }},
        {"FormCategories",
         [&] {
             fill(p.categories->grd, {"4", "3", "5", "4", "6"});
             p.categories->CommandNext_Click();
         }},
        {"FormCutoff",
         [&] {
             choose(p.cutoff->OptionVariable);
             fill(p.cutoff->grd, {"1", "2", "0", "3", "5"});
             p.cutoff->CommandNext_Click();
         }},
        {"FormDeleteItems",
         [&] {
             p.deleteItems->setDiscard(true);
             p.deleteItems->setCountText("2");
             p.deleteItems->CommandNext_Click();
         }},
        {"FormItemsDiscarded",
         [&] {
             fill(p.itemsDiscarded->grd, {"2", "4"});
             p.itemsDiscarded->CommandNext_Click();
         }},
        {"FormDeleteSubjects",
         [&] {
             p.deleteSubjects->setDiscard(true);
             p.deleteSubjects->setCountText("3");
             p.deleteSubjects->CommandNext_Click();
         }},
        {"FormSubjectsDiscarded",
         [&] {
             fill(p.subjectsDiscarded->grd, {"1017", "-5", "12"});
             p.subjectsDiscarded->CommandOK_Click();
         }},
        {"FormInitSigns",
         [&] {
             p.initSigns->setReverse(false);
             p.initSigns->setManual(true);
             p.initSigns->CommandNext_Click();
         }},
        {"FormManualAssign",
         [&] {
             fill(p.manualAssign->grd, {"+", "-", "+", "+", "-"});
             p.manualAssign->CommandNext_Click();
         }},
        {"FormQuadrature",
         [&] {
             p.quadrature->setPointsText("21");
             p.quadrature->CommandNext_Click();
         }},
        {"FormAlgorithm",
         [&] {
             const char* texts[] = {"200", "20", "15", "25", "0.0001"};
             for (int b = 0; b < 5; ++b) p.algorithm->setText(FormAlgorithm::Box(b), texts[b]);
             p.algorithm->CommandNext_Click();
         }},
        {"FormConstraint",
         [&] {
             p.constraint->setConstrain(true);
             p.constraint->CommandOK_Click();
         }},
        {"FormFitGroups",
         [&] {
             p.fitGroups->setWanted(true);
             p.fitGroups->setGroupsText("10");
             p.fitGroups->CommandNext_Click();
         }},
        {"FormItemFit",
         [&] {
             p.itemFit->setTCutoffText("2");
             p.itemFit->setChiSquareCutoffText("0.05");
             p.itemFit->CommandNext_Click();
         }},
        {"FormPersonFit",
         [&] {
             p.personFit->setTCutoffText("2.5");
             p.personFit->setLocalizedCutoffText("2");
             p.personFit->setChiSquareCutoffText("0.01");
             p.personFit->setPrintAll(true);
             p.personFit->CommandOK_Click();
         }},
        {"FormPlotGroups",
         [&] {
             p.plotGroups->setWanted(true);
             p.plotGroups->setPlotGroupsText("5");
             p.plotGroups->setThetaDeltaGroupsText("100");
             p.plotGroups->CommandOK_Click();
         }},
        {"FormDelta",
         [&] {
             p.delta->TextMean->setText("0");
             p.delta->CommandNext_Click();
         }},
        {"FormAlpha", [&] { p.alpha->CommandNext_Click(); }},
        {"FormTau", [&] { p.tau->CommandNext_Click(); }},
    };

    form.newJob();
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
    const QString before = dump(job);
    rec.log.clear();
    form.munDeltaitem->trigger();
    EXPECT_EQ(modalPages(), (QStringList{"FormDelta", "FormAlpha", "FormTau"}));
    EXPECT_EQ(dump(job), before);
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

TEST_F(JobWalkTest, PagesHaveTheirTitlesAndButtons) {
    const struct {
        QDialog* page;
        const char* title;
        const char* next;  // nullptr: no Next button
    } cases[] = {
        {pages.dataFile, "Read Data", "Next  >>"},
        {pages.itemDef, "Item Definitions", "Next  >>"},
        {pages.categories, "Response Category Definitions", "Next  >>"},
        {pages.cutoff, "Response Cutoffs", "Next  >>"},
        {pages.deleteItems, "Delete Items", "Next  >>"},
        {pages.itemsDiscarded, "Choose Items to Delete", "Next  >>"},
        {pages.deleteSubjects, "Delete Respondents", "Next  >>"},
        {pages.subjectsDiscarded, "Choose Respondents to Delete", "Next  >>"},
        {pages.initSigns, "Initial Signs", "Next  >>"},
        {pages.manualAssign, "Initial Sign Assignment", "Next  >>"},
        {pages.quadrature, "Quadrature", "Next  >>"},
        {pages.algorithm, "Algorithm", "Next >>"},
        {pages.constraint, "Constraints", nullptr},
        {pages.delta, "DELTA (not supported yet)", "Next  >>"},
        {pages.alpha, "ALPHA (not supported yet)", "Next  >>"},
        {pages.tau, "TAU (not supported yet)", "Next  >>"},
        {pages.fitGroups, "Fit Groups", "Next  >>"},
        {pages.itemFit, "Item Fit", "Next  >>"},
        {pages.personFit, "Person Fit", nullptr},
        {pages.plotGroups, "Plot Requests", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.page->windowTitle(), c.title);
        const auto* next = c.page->findChild<QPushButton*>("CommandNext");
        EXPECT_EQ(next ? next->text() : QString(), c.next ? QString::fromLatin1(c.next) : QString()) << c.title;
        for (const auto* button : c.page->findChildren<QPushButton*>())
            EXPECT_FALSE(button->autoDefault() || button->isDefault()) << c.title;
    }
    // The five grids have their headings from the start-up.
    EXPECT_EQ(pages.manualAssign->grd->textMatrix(0, 1), "Sign");
    EXPECT_EQ(pages.categories->grd->textMatrix(0, 1), "No. of Categories");
    EXPECT_EQ(pages.cutoff->grd->textMatrix(0, 1), "Response Cutoffs");
    EXPECT_EQ(pages.itemsDiscarded->grd->textMatrix(0, 1), "Item No.");
    EXPECT_EQ(pages.subjectsDiscarded->grd->textMatrix(0, 1), "Respondent ID");
}

}  // namespace
}  // namespace vormgui
