#include "mGlobalVariables.h"

namespace vormgui {

void setNewJobDefaults(JobSettings& job) {
    job.jobFileName.clear();
    job.modelNumber = 0;
    job.useConstraint = false;
    job.reverseSigns = false;
    job.numQuadraturePoints = 30;
    job.dataFileName.clear();
    job.fortranFormat.clear();
    job.numItems = 2;
    job.categoriesConstant = true;
    job.numCategories[0] = 2;
    job.recodeData = false;
    job.cutoffConstant = true;
    job.responseCutoff[0] = 0;
    job.discardItems = false;
    job.numItemsToDiscard = 1;
    job.discardSubjects = false;
    job.numSubjectsToDiscard = 1;
    job.manualSigns = false;
    job.numOuterCycles = 100;
    job.numInnerCycles = 10;
    job.numThresholdIterations = 30;
    job.numItemIterations = 30;
    job.convergenceCriterion = 0.001;
    job.wantPlots = false;
    job.numPlotGroups = 2;
    job.numThetaDeltaGroups = 2;
    job.wantFitStatistics = false;
    job.numFitGroups = 2;
    job.printPersonFit = false;
    job.itemTCutoff = 2.576;
    job.itemChiSquareCutoff = 0.01;
    job.personTCutoff = 3.291;
    job.personChiSquareCutoff = 0.001;
    job.localizedPersonTCutoff = 2.576;
}

bool cutoffsConsistent(const JobSettings& job) {
    if (job.categoriesConstant && job.cutoffConstant) return job.numCategories[0] > job.responseCutoff[0];
    const int items = job.numItems;
    if (items > kMaxItems) return false;
    for (int i = 1; i <= items; ++i) {
        const int categories = job.numCategories[job.categoriesConstant ? 0 : i];
        const int cutoff = job.responseCutoff[job.cutoffConstant ? 0 : i];
        if (categories <= cutoff) return false;
    }
    return true;
}

}  // namespace vormgui
