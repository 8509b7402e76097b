#include "JobPageControls.h"

#include "CutoffPages.h"
#include "DiscardPages.h"
#include "EstimationPages.h"
#include "FitPages.h"
#include "JobPages.h"
#include "ReadDataPages.h"
#include "SignPages.h"
#include "core/mGlobalVariables.h"

namespace vormgui {

JobControls JobPageControls::controls() const {
    const JobPages& p = pages_;
    JobControls c;
    c.quadraturePoints = p.quadrature->pointsText();
    c.dataFile = p.dataFile->dataFileText();
    c.fortranFormat = p.dataFile->formatText();
    c.recode = p.dataFile->recode().value_or(false);
    c.numberOfItems = p.itemDef->itemsText();
    c.categoriesConstant = p.itemDef->categoriesConstant().value_or(false);
    c.numberOfCategories = p.itemDef->categoriesText();
    c.categoryCells = p.categories->values();
    c.cutoffConstant = p.cutoff->cutoffConstant().value_or(false);
    c.cutoff = p.cutoff->cutoffText();
    c.cutoffCells = p.cutoff->values();
    c.discardItems = p.deleteItems->discard().value_or(false);
    c.itemsToDiscard = p.deleteItems->countText();
    c.itemCells = p.itemsDiscarded->values();
    c.discardSubjects = p.deleteSubjects->discard().value_or(false);
    c.subjectsToDiscard = p.deleteSubjects->countText();
    c.subjectCells = p.subjectsDiscarded->values();
    c.signCells = p.manualAssign->values();
    c.outerCycles = p.algorithm->text(FormAlgorithm::Outer);
    c.innerCycles = p.algorithm->text(FormAlgorithm::Inner);
    c.thresholdIterations = p.algorithm->text(FormAlgorithm::Thresholds);
    c.itemIterations = p.algorithm->text(FormAlgorithm::Items);
    c.criterion = p.algorithm->text(FormAlgorithm::Criterion);
    c.plotGroups = p.plotGroups->plotGroupsText();
    c.thetaDeltaGroups = p.plotGroups->thetaDeltaGroupsText();
    c.fitGroups = p.fitGroups->groupsText();
    c.printPersonFit = p.personFit->printAll().value_or(false);
    c.itemTCutoff = p.itemFit->tCutoffText();
    c.itemChiSquareCutoff = p.itemFit->chiSquareCutoffText();
    c.personTCutoff = p.personFit->tCutoffText();
    c.personChiSquareCutoff = p.personFit->chiSquareCutoffText();
    c.localizedPersonTCutoff = p.personFit->localizedCutoffText();
    return c;
}

void JobPageControls::showJob(const JobControls& c, const JobSettings& job) {
    JobPages& p = pages_;
    p.constraint->setConstrain(job.useConstraint);
    p.initSigns->setReverse(job.reverseSigns);
    p.quadrature->setPointsText(c.quadraturePoints);
    p.dataFile->setDataFileText(c.dataFile);
    p.dataFile->setFormatText(c.fortranFormat);
    p.itemDef->setItemsText(c.numberOfItems);
    p.cutoff->setValues(c.cutoffCells);
    p.itemDef->setCategoriesConstant(c.categoriesConstant);
    p.itemDef->setCategoriesText(c.numberOfCategories);
    p.categories->setValues(c.categoryCells);
    p.dataFile->setRecode(c.recode);
    p.cutoff->setCutoffConstant(c.cutoffConstant);
    p.cutoff->setCutoffText(c.cutoff);
    p.deleteItems->setDiscard(c.discardItems);
    p.deleteItems->setCountText(c.itemsToDiscard);
    p.itemsDiscarded->setValues(c.itemCells);
    p.deleteSubjects->setDiscard(c.discardSubjects);
    p.deleteSubjects->setCountText(c.subjectsToDiscard);
    p.subjectsDiscarded->setValues(c.subjectCells);
    p.initSigns->setManual(job.manualSigns);
    p.manualAssign->setValues(c.signCells);
    p.algorithm->setText(FormAlgorithm::Outer, c.outerCycles);
    p.algorithm->setText(FormAlgorithm::Inner, c.innerCycles);
    p.algorithm->setText(FormAlgorithm::Thresholds, c.thresholdIterations);
    p.algorithm->setText(FormAlgorithm::Items, c.itemIterations);
    p.algorithm->setText(FormAlgorithm::Criterion, c.criterion);
    p.plotGroups->setWanted(job.wantPlots);
    p.plotGroups->setPlotGroupsText(c.plotGroups);
    p.plotGroups->setThetaDeltaGroupsText(c.thetaDeltaGroups);
    p.fitGroups->setWanted(job.wantFitStatistics);
    p.fitGroups->setGroupsText(c.fitGroups);
    p.personFit->setPrintAll(c.printPersonFit);
    p.itemFit->setTCutoffText(c.itemTCutoff);
    p.itemFit->setChiSquareCutoffText(c.itemChiSquareCutoff);
    p.personFit->setTCutoffText(c.personTCutoff);
    p.personFit->setChiSquareCutoffText(c.personChiSquareCutoff);
    p.personFit->setLocalizedCutoffText(c.localizedPersonTCutoff);
}

void JobPageControls::selectNoConstraint() { pages_.constraint->setConstrain(false); }

void JobPageControls::setDataFile(const QString& path) { pages_.dataFile->setDataFileText(path); }

}  // namespace vormgui
