// The stages of one run, in the order the run driver calls them.  Each takes
// the run's console and unit files, the job settings and the store by
// reference; a stage that must stop the run throws EngineStop.
#pragma once

#include "common/io.h"
#include "driver/Store.h"

namespace vorm {

void ASKIT(Io& io, JobSettings& job);               // job dialogue and parameter listing
void MMLDAT(Io& io, JobSettings& job);              // data input and clean-up, to the scratch files
void READIT(Io& io, JobSettings& job, Store& st);   // scratch files into the store
void CONTIN(Io& io, JobSettings& job, Store& st);   // response frequency tables
void INITVL(Io& io, JobSettings& job, Store& st);   // start values
void MMLEST(Io& io, JobSettings& job, Store& st);   // item estimation, ending with the person estimates
void STDERRC(Io& io, JobSettings& job, Store& st);  // item standard errors
void WRITIT(Io& io, JobSettings& job, Store& st);   // item and person parameter files
void DIAMML2(Io& io, JobSettings& job, Store& st);  // fit analysis

}  // namespace vorm
