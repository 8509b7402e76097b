// The end of the fit analysis: the listwise deletion of respondents with a
// missing response, the item selections for the number-correct score and the
// item chi-squares conditioned on it, with the last section of the fit report.
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "model/Probtable.h"
#include "statistics/Ncscore.h"

namespace vorm {

// Respondents 1..NSUBJ with a negative response on any of items 1..NITEM are
// dropped: the others move up in RESP, in their order, and NSUBJ becomes their
// count.  Nothing else moves: THETA, TSTD and PERSID keep their positions.
void listwise_deletion(Store& st, int NITEM, int& NSUBJ);

// Rebuilds the quadrature grid (XQUAD, WQUAD), which the fit statistics
// overwrote, and, when a missing response was found (`missing`), performs the
// listwise deletion on job.NSUBJ.  Returns whether it did.
bool rebuild_grid_and_delete(JobSettings& job, Store& st, bool missing);

// Selects the items of the number-correct score twice (all items, then the
// extreme ones), computes the chi-squares conditioned on the full and on the
// rest score for both selections into w's SCHI, CSCHI, SSCHI and CSSCHI, and
// writes the section to `fit`, the items in the order ITORD(1..NITEM).
// `deleted` says whether the listwise deletion was performed.
void number_correct_chisquares(std::ostream& con, std::ostream& fit, JobSettings& job, Store& st, ProbabilityTable& PT,
                               NumberCorrectWork& w, const ItemInts& ITORD, bool deleted);

// The section alone, from the four result tables.
void write_number_correct_section(std::ostream& fit, const Store& st, const NumberCorrectWork& w, const ItemInts& ITORD,
                                  int NITEM, bool deleted, int NSUBJ);

}  // namespace vorm
