// The run-time parameter listing: the head of the report, written once by the
// job dialogue after its last answer.
//
// It prints the run stamp, the job file used and every job setting in force.
// Paths and the record format are printed as they were read (blank-padded to
// 256 characters), not in the form the engine uses them, so the user sees
// exactly what the job said.  The listing also settles one setting: a
// constraint asked for under model 1, 3, 5 or 7 is switched off (ICONST = 0).
#pragma once

#include <iosfwd>
#include <string>

#include "common/Store.h"
#include "common/stamp.h"

namespace vorm {

// What the listing shows as the job gave it, beside the settings: the texts
// as read (cmdfile empty when no job file was used) and the answer to the
// cutoff-constant question, which no setting keeps.
struct JobEcho {
    std::string cmdfile;
    std::string datfile;
    std::string datfmt;
    bool cutoff_constant = true;
};

void write_parameter_listing(std::ostream& rep, JobSettings& job, const JobEcho& echo);

}  // namespace vorm
