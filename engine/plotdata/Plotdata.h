// Plot data files and their scripts, called by the run driver in a fixed order
// when the job asks for plots: PLOTDATA1; per item PLOTDATA2, PLOTDATA3,
// PLOTDATA5; per item PLOTDATA5B with one common top; PLOTDATA4, PLOTDATA6,
// PLOTDATA7, PLOTLAT, PLOTEAP, PLOTLOC.  Items are the retained items 1..NITEM;
// file names carry the item's data-file number ITEMID (Plotpair.h).
//
// Every routine reads the fitted model (Fittedmodel.h): the items' parameters
// from the view, the data and the estimates from its store; none writes a
// parameter or a job setting.
//
// A model number outside 1 to 8 stops the run with the routine's console and
// status lines.  A number too wide for its field is written as asterisks and
// the file named in the report and the status warnings (Plotpair.h).
#pragma once

#include <string>

#include "common/Store.h"
#include "common/io.h"
#include "model/Fittedmodel.h"
#include "model/Modelvalues.h"

namespace vorm {

// Work tables of the two routines that go through every response, allocated
// once per run by the caller (about 5 MB: never on the stack).
struct PlotWork {
    static constexpr int MAXPAIR = MAXSUBJ * MAXITEM;
    // Sort areas: items by DELTA, respondents by THETA, pairs by theta - delta.
    Arr1<int, 1, MAXITEM> ITAG;
    ItemReals IKEY;
    Arr1<int, 1, MAXSUBJ> JTAG;
    SubjReals JKEY;
    // PLOTDATA7: one entry per answered respondent-item pair.
    Arr1<int, 1, MAXPAIR> PTAG;
    Arr1<double, 1, MAXPAIR> PDIST;
    Arr1<double, 1, MAXPAIR> PEXP;
    Arr1<int, 1, MAXPAIR> POBS;
};

void PLOTDATA1(Io& io, const FittedModel& fm, PlotWork& w, int NTHGRP, const std::string& WRKDIR);
void PLOTDATA2(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR);
void PLOTDATA3(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR);
// Returns the item's information maximum: the integer part of its largest
// value on the grid, 0 when none is positive.
int PLOTDATA5(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR);
void PLOTDATA5B(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR, int top);
void PLOTDATA4(Io& io, const FittedModel& fm, const std::string& WRKDIR);
void PLOTDATA6(Io& io, const FittedModel& fm, const std::string& WRKDIR);
// At most 2000 groups are formed, whatever NTDGRP asks for.
void PLOTDATA7(Io& io, const FittedModel& fm, PlotWork& w, int NTDGRP, const std::string& WRKDIR);
void PLOTLAT(Io& io, const FittedModel& fm, const std::string& WRKDIR);
void PLOTEAP(Io& io, const FittedModel& fm, const std::string& WRKDIR);
void PLOTLOC(Io& io, const FittedModel& fm, const std::string& WRKDIR);

// Expected item score sum over c = 1..K-1 of c PROB(c), from a probability call.
inline double expected_score(const ModelValues& mv, int K) {
    double e = 0.0;
    for (int c = 1; c < K; ++c) e += c * mv.PROB(c);
    return e;
}

// Fisher information of item I at theta, from the item's own parameters:
// never negative, zero at theta = delta.
double SUBINFO(Io& io, const FittedModel& fm, int I, double theta);

}  // namespace vorm
