// The job as the front end holds it: `jobSettings`, the confirmed copy that
// the pages' OK and Next write, their Cancel restores from, File Open fills
// and Run checks.
//
// Counts are 16-bit as the pages read them; respondent identifiers are 64-bit,
// as the engine reads them (core/Limits.h).  In the per-item arrays element
// i belongs to item i (1 to 100) and element 0 holds the value for every item
// where the setting is constant; the discard lists hold their entries from
// element 1 on.  Per-item values mean something for items 1 to numItems only:
// entries beyond keep what an earlier job left there.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "Limits.h"

namespace vormgui {

struct JobSettings {
    JobSettings() = default;
    // One record for the whole run: pages hold references to it.
    JobSettings(const JobSettings&) = delete;
    JobSettings& operator=(const JobSettings&) = delete;

    QString helpDir;  // the help folder, ending in '/'
    QString appDir;   // the application folder, ending in '/'
    QString jobFileName;
    std::int16_t modelNumber = 0;
    bool useConstraint = false;
    bool reverseSigns = false;
    bool manualSigns = false;
    std::array<bool, kMaxItems + 1> initialSigns{};  // true for "+"
    std::int16_t numQuadraturePoints = 0;
    QString dataFileName;
    QString fortranFormat;
    std::int16_t numItems = 0;
    bool categoriesConstant = false;
    std::array<std::int16_t, kMaxItems + 1> numCategories{};
    bool recodeData = false;
    bool cutoffConstant = false;
    std::array<std::int16_t, kMaxItems + 1> responseCutoff{};
    bool discardItems = false;
    std::int16_t numItemsToDiscard = 0;
    std::array<std::int16_t, kMaxItems + 1> itemsToDiscard{};
    bool discardSubjects = false;
    std::int16_t numSubjectsToDiscard = 0;
    std::array<std::int64_t, kMaxSubjects + 1> subjectsToDiscard{};
    std::int16_t numOuterCycles = 0;
    std::int16_t numInnerCycles = 0;
    std::int16_t numThresholdIterations = 0;
    std::int16_t numItemIterations = 0;
    double convergenceCriterion = 0.0;
    bool wantPlots = false;
    std::int16_t numPlotGroups = 0;
    std::int16_t numThetaDeltaGroups = 0;
    bool wantFitStatistics = false;
    std::int16_t numFitGroups = 0;
    bool printPersonFit = false;
    double itemTCutoff = 0.0;
    double itemChiSquareCutoff = 0.0;
    double personTCutoff = 0.0;
    double personChiSquareCutoff = 0.0;
    double localizedPersonTCutoff = 0.0;
};

// The record's part of the job reset: the defaults of a new job.  The folders,
// the per-item lists beyond element 0 and the discard lists keep their values.
void setNewJobDefaults(JobSettings& job);

// True when every item's response cutoff is below its number of categories
// (valid cutoffs of an item with C categories are 0 to C - 1).  With both
// settings constant only element 0 of each counts, whatever numItems is.
// A per-item setting with more than 100 items cannot be held, so such a job
// is inconsistent rather than read past the lists.
bool cutoffsConsistent(const JobSettings& job);

}  // namespace vormgui
