// A whole job entered as a user would: every page filled after a new job,
// every walk started from its menu entry and each page left with Next (OK
// where a walk ends), then the record compared with what was typed.
#include <QAction>
#include <QPushButton>

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

}  // namespace
}  // namespace vormgui
