// The end of the fit analysis (stages 9 and 10 of DIAMML2, declared in
// Diamml2.h): the listwise deletion of respondents with a missing response,
// the item selections for the number-correct score, the item chi-squares
// conditioned on it and the last section of the fit report.  The parts that
// the stages are made of:
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "statistics/Ncscore.h"

namespace vorm {

// Respondents 1..NSUBJ with a negative response on any of items 1..NITEM are
// dropped: the others move up in RESP, in their order, and NSUBJ becomes their
// count.  Nothing else moves: THETA, TSTD and PERSID keep their positions.
void drop_incomplete_respondents(Store& st, int NITEM, int& NSUBJ);

// The section from the four result tables of w, the items in the order
// ITORD(1..NITEM); `deleted` adds the note of the listwise deletion with the
// respondents retained, NSUBJ.
void write_number_correct_section(std::ostream& fit, const Store& st, const NumberCorrectWork& w, const ItemInts& ITORD,
                                  int NITEM, bool deleted, int NSUBJ);

}  // namespace vorm
