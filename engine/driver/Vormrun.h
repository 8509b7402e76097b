// The engine's main program: one job from start to end.
//
// VORMCALC [job-file] [work-folder]: without a job file the title pages are
// shown and the job is asked for on the console.  Every way the run ends
// writes the status file last: " start" at the beginning, " end" after a
// completed run (followed by the warnings the run gave, if any), otherwise
// the lines that say why it stopped, a stop signal included (stopsignal.h).
#pragma once

#include <string>
#include <vector>

#include "common/Store.h"
#include "common/clock.h"
#include "common/io.h"
#include "driver/Workspace.h"
#include "model/Fittedmodel.h"

namespace vorm {

// Returns the process exit status: 0 after " end", 1 after any abort.
int VORMRUN(const std::vector<std::string>& args, Io& io, JobSettings& job, Store& st, Workspace& ws);

// The plot stage: every plot file pair, in the fixed order of the routines,
// from the fitted model and the job's group counts.  Returns the run's
// information maximum: the largest of the items' (PLOTDATA5).
int plot_files(Io& io, const JobSettings& job, const FittedModel& fm, PlotWork& work);

// Number of item parameters of the model, for the information criteria:
// locations, discriminations, and the unit or thresholds, common or per item
// (C - 1 common thresholds for C categories of item 1, NCAT(j) - 1 per item).
int item_parameter_count(int model, int nitem, const ItemInts& ncat);

// Seconds between two clock readings, allowing one passage of midnight.
double elapsed_seconds(const ClockReading& start, const ClockReading& end);

}  // namespace vorm
