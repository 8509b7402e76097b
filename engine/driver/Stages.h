// The run driver's own stages, in the order the run driver calls them.  Each
// takes the run's console and unit files, the job settings and the store by
// reference; a stage that must stop the run throws EngineStop.  The stages of
// the other folders are declared in their own headers (estimation/Initvl.h,
// estimation/Mmlest.h, statistics/Stderrc.h, model/Marglike.h,
// plotdata/Plotdata.h, statistics/Diamml2.h).
#pragma once

#include "common/Store.h"
#include "common/io.h"
#include "driver/Mmldat.h"

namespace vorm {

void ASKIT(Io& io, JobSettings& job);                          // job dialogue and parameter listing
void MMLDAT(Io& io, JobSettings& job, RawTable& t);            // data input and clean-up, to the scratch files
void READIT(Io& io, JobSettings& job, Store& st);              // scratch files into the store
void CONTIN(Io& io, const JobSettings& job, const Store& st);  // response frequency tables
void WRITIT(Io& io, const JobSettings& job, const Store& st);  // item and person parameter files

}  // namespace vorm
