// Plot data files and their scripts, called by the run driver in a fixed order
// when the job asks for plots: PLOTDATA1; per item PLOTDATA2, PLOTDATA3,
// PLOTDATA5; per item PLOTDATA5B with one common top; PLOTDATA4, PLOTDATA6,
// PLOTDATA7, PLOTLAT, PLOTEAP, PLOTLOC.  Items are the retained items 1..NITEM;
// file names carry the item's data-file number ITEMID (Plotpair.h).
//
// A model number outside 1 to 8 stops the run with the routine's console and
// status lines.  A number too wide for its field is written as asterisks and
// the file named in the report and the status warnings (Plotpair.h).
#pragma once

#include <string>

#include "common/Store.h"
#include "common/io.h"
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

void PLOTDATA1(Io& io, Store& st, PlotWork& w, int NTHGRP, int MODEL, const ItemInts& NCAT, int NITEM, int NSUBJ,
               double UNIT, const CatReals& TAUC, const std::string& WRKDIR);
void PLOTDATA2(Io& io, const Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR);
void PLOTDATA3(Io& io, const Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR);
void PLOTDATA5(Io& io, const Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR, int& INFMAX);
void PLOTDATA5B(Io& io, const Store& st, int MODEL, int i, int K, double UNIT, const std::string& WRKDIR, int top);
void PLOTDATA4(Io& io, const Store& st, int MODEL, int NITEM, const ItemInts& NCAT, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR);
void PLOTDATA6(Io& io, const Store& st, int NITEM, const std::string& WRKDIR);
void PLOTDATA7(Io& io, const Store& st, PlotWork& w, int MODEL, const ItemInts& NCAT, int NITEM, int NSUBJ, int& NTDGRP,
               double UNIT, const CatReals& TAUC, const std::string& WRKDIR);
void PLOTLAT(Io& io, const QuadReals& DENS, int NQUAD, const std::string& WRKDIR, const QuadReals& XQUAD);
void PLOTEAP(Io& io, const Store& st, int NSUBJ, const std::string& WRKDIR);
void PLOTLOC(Io& io, const Store& st, int NITEM, const std::string& WRKDIR);

// Expected item score sum over c = 1..K-1 of c PROB(c), from a probability call.
inline double expected_score(const ModelValues& mv, int K) {
    double e = 0.0;
    for (int c = 1; c < K; ++c) e += c * mv.PROB(c);
    return e;
}

// Fisher information of item I (K categories) at theta, from the item's own
// parameters: never negative, zero at theta = DELTA(I).
void SUBINFO(Io& io, const Store& st, int MODEL, int K, double UNIT, const CatReals& TAUC, int I, double theta,
             double& INFO);

}  // namespace vorm
