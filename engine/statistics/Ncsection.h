// The end of the fit analysis (stages 9 and 10 of DIAMML2, declared in
// Diamml2.h): the listwise deletion of respondents with a missing response,
// the item selections for the number-correct score, the item chi-squares
// conditioned on it and the last section of the fit report.  The parts that
// the stages are made of:
#pragma once

#include <iosfwd>

#include "model/Fittedmodel.h"
#include "statistics/Ncscore.h"

namespace vorm {

// Respondents 1..NSUBJ of RESP with a negative response on any of items
// 1..NITEM are left out: the others are copied to KEPT, in their order, and
// their count is returned.  RESP is only read; KEPT must be another table.
int drop_incomplete_respondents(const ResponseTable& RESP, int NITEM, int NSUBJ, ResponseTable& KEPT);

// The section from the four result tables of w, the items in the order
// ITORD(1..fm.NITEM); a sample of the complete respondents (`deleted`) adds
// the note of the listwise deletion with their count.
void write_number_correct_section(std::ostream& fit, const FittedModel& fm, const NumberCorrectWork& w,
                                  const ItemInts& ITORD, const NcSample& sample);

}  // namespace vorm
