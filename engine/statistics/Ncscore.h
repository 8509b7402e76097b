// The number-correct score and the tables of the chi-squares conditioned on
// it (ITCORR, OLTHX2, OLTHX2B and the fit report's last section).
//
// A respondent's number-correct score is the sum of the responses over the
// items in the score, a reverse-scored item counting NCAT - 1 - x for x; with
// 100 items of 10 categories it lies in 0..900.  A score distribution holds,
// for every quadrature point, the probability of each score: one contiguous
// row per point, score fastest, so that the recursion's inner loops run over
// contiguous memory.  Items are numbered from 1, points from 1, scores and
// categories from 0.
//
// Every table here has its full capacity and lives in the run's workspace;
// nothing is allocated per call.
#pragma once

#include <iosfwd>
#include <optional>
#include <type_traits>

#include "common/Store.h"
#include "model/Fittedmodel.h"
#include "model/Probtable.h"

namespace vorm {

constexpr int MAXSCORE = (MAXCAT - 1) * MAXITEM;  // the highest possible score

// NCITEM(i, 1): 1 when item i is in the score; (i, 2): working copy of column
// 1 that OLTHX2 and OLTHX2B leave with the last studied item at 0; (i, 3): 1
// when the item is reverse-scored.
using NcItemTable = Arr2<int, 1, MAXITEM, 1, 3>;

// What category x of a C-category item adds to the score; a reverse-scored
// item counts down from C - 1.
inline int score_points(int x, int C, bool reversed) { return reversed ? C - 1 - x : x; }

// One row per item: (1) in the score, (2) number of items in the score,
// (3) score groups after pooling, (4) X2, (5) its degrees of freedom,
// (6) upper-tail probability, -1 when none was computed.
using NcResultTable = Arr2<double, 1, MAXITEM, 1, 6>;

// S(q)[s]: probability of score s at point q, for s = 0..R.
struct ScoreDistribution {
    static constexpr int LD = (MAXSCORE + 1 + 7) / 8 * 8;  // whole cache lines per row
    alignas(64) double rows[MAXQUAD][LD];
    int R = 0;
    double* S(int q) { return rows[q - 1]; }
    const double* S(int q) const { return rows[q - 1]; }
};

// Category probabilities in score order: at(j, q)[k*] is the probability
// that item j (NCAT(j) categories) adds k* to the score at point q, for the
// points 1..NQUAD that the table holds.
struct ScoreProbabilities {
    alignas(64) double p[MAXITEM][MAXQUAD][MAXCAT];
    ItemInts NCAT;
    int NQUAD = 0;
    double* at(int j, int q) { return p[j - 1][q - 1]; }
    const double* at(int j, int q) const { return p[j - 1][q - 1]; }
};

// One score group of an item's table: respondents N, observed counts O(k)
// and expected counts E(k) by category.
struct NcRow {
    double N = 0.0;
    double O[MAXCAT] = {};
    double E[MAXCAT] = {};
};

// Levels of the leave-one-item-out route: a node of 100 items is halved at
// most seven times before it holds one item.
constexpr int NC_LEVELS = 8;

using ResponseTable = decltype(Store::RESP);

struct NumberCorrectWork {
    NcItemTable NCITEM;
    NcResultTable SCHI, CSCHI, SSCHI, CSSCHI;

    // The analysis's own quadrature grid, and its own copy of the complete
    // respondents when some response is missing (NcSample).
    QuadReals XQUAD, WQUAD;
    ResponseTable KEPT;

    ScoreProbabilities PSCORE;
    ScoreDistribution SCDIST;                  // the full score, weighted by the points' weights
    ScoreDistribution OUTSIDE[NC_LEVELS + 1];  // leave-one-out route: one level each, and a spare
    Arr1<double, 0, MAXSCORE> SCMARG;          // H(s), the full score's marginal probabilities
    Arr1<double, 0, MAXSCORE> HREST;           // the same for a rest score
    alignas(64) double SUMS[MAXSCORE + 1];     // one weighted sum over the points per score
    Arr1<int, 0, MAXSCORE> NSCORE;             // respondents by full score
    Arr1<int, 0, MAXSCORE> NREST;              // respondents by rest score
    Arr1<int, 1, MAXSUBJ> SCORE;               // each respondent's full score; -1: left out
    SubjReals TOTAL;                           // each respondent's total in the item selection
    // Observed counts O(s, j, k) and expected proportions E(s, j, k), score
    // fastest; an expected count is E times the respondents at the score.
    Arr3<double, 0, MAXSCORE, 1, MAXITEM, 0, MAXCAT - 1> NCOBS, NCEXP;
    NcRow NCSTAB[MAXSCORE + 1];  // one item's table, pooled in place
};

// What the number-correct statistics are formed over: respondents 1..NSUBJ
// of RESP, who must have answered every item, and the quadrature grid XQUAD
// with the weights WQUAD, points 1..NQUAD.  The fit analysis makes it (stage
// 9, Diamml2.h): the store's RESP, or, when a response is missing, its own
// copy of the complete respondents (`deleted`); its own grid.
struct NcSample {
    const ResponseTable& RESP;
    int NSUBJ = 0;
    bool deleted = false;
    const QuadReals& XQUAD;
    const QuadReals& WQUAD;
    int NQUAD = 0;
};

// One call of OLTHX2 or OLTHX2B: the first NNC items of the score that
// w.NCITEM chooses are studied, and every item's row goes to T.
struct NcCall {
    int NNC = 0;
    NcResultTable& T;
};

// Fills PSCORE from the probability table (its items, categories and points),
// reversing the categories of the items that NCITEM(i, 3) marks.
void fill_score_probabilities(NumberCorrectWork& w, const ProbabilityTable& PT);

// dst := src with item j added, at the points of PS; dst and src must differ.
// Every new score receives its products in increasing order of the source
// score, as the plain recursion adds them, so a distribution built item by
// item has the plain recursion's values to the last bit.
void add_item(const ScoreProbabilities& PS, const ScoreDistribution& src, int j, ScoreDistribution& dst);

// D := the distribution of the score over items[0..m-1] (item numbers), the
// items added in that order; with no item every point has score 0.  `spare`
// is worked in and must differ from D.
void score_distribution(const ScoreProbabilities& PS, const int* items, int m, ScoreDistribution& D,
                        ScoreDistribution& spare);

// dst := src with items[0..n-1] added in that order; src, dst and spare must
// be three different tables.
void add_items(const ScoreProbabilities& PS, const ScoreDistribution& src, const int* items, int n,
               ScoreDistribution& dst, ScoreDistribution& spare);

// Calls visit(p, D) for p = 0..studied-1 in increasing order, D being the
// distribution of the score over items[0..m-1] without items[p].
//
// Recomputing every such rest score from scratch costs one whole recursion
// per item, about NITEM^3 NCAT^2 NQUAD / 2 multiply-adds.  Here the items are
// halved recursively: the distribution of the items outside a half is the
// distribution outside its parent with the other half added, so each item is
// added about log2(m) times instead of m times.  Only additions of products
// of probabilities are involved, as in the plain recursion, so every value
// agrees with the recomputed one to a few rounding errors relative to itself;
// no item is ever divided out of a distribution, which cancels badly.
template <class Visit>
void for_each_rest_score(NumberCorrectWork& w, const int* items, int m, int studied, Visit&& visit);

// WS(q)[s] := WQUAD(q) D(q)[s] for s = 0..D.R; WS may be D itself.  The
// sums over the points below take these products as the plain sums form them.
void weight_by_points(const ScoreDistribution& D, const QuadReals& WQUAD, int NQUAD, ScoreDistribution& WS);

// H(s) := sum over q of WS(q)[s], s = 0..WS.R: the marginal probability of
// each score when WS is a distribution weighted by the points' weights.
void marginal(const ScoreDistribution& WS, int NQUAD, Arr1<double, 0, MAXSCORE>& H);

// Expected proportions of item j's categories given a score,
// into NCEXP: for every score s of the weighted distribution WS and every
// category k,
//   E(s + shift(k), j, k) := (sum over q of WS(q)[s] P(q, j, k)) / H(s + shift(k)),
// the sum over the points of PT, where shift(k) is the category's
// contribution to the score (k, or C-1-k when NCITEM(j, 3) reverses it) when
// the item's own response is part of the score it is conditioned on (`own`),
// else 0.  A score whose marginal probability H underflowed to 0 gets
// proportion 0.
void expected_proportions(NumberCorrectWork& w, const ProbabilityTable& PT, const ScoreDistribution& WS,
                          const Arr1<double, 0, MAXSCORE>& H, int j, bool own);

struct NcStatistic {
    int G = 0;        // score groups with respondents after pooling
    double X2 = 0.0;  // Pearson chi-square over them
};

// Pools rows 0..top of an item's table in place and forms its statistic.
// With `fixed` (the item is in the score, so at the lowest and the highest
// scores some of its categories cannot occur) scores 0..C-2 first go into row
// C-1 and the top C-1 scores into row top-C+1.  Then a row with any expected
// count below 1 is added into the next row upward (rows 0..top-1 in turn) and
// what is still sparse into the next row downward (rows top..1).  A row left
// with respondents counts as a group; a cell of it with expected count 0
// (only possible where a marginal probability underflowed) adds nothing.
NcStatistic pool_and_sum(NcRow* rows, int top, int C, bool fixed);

// Degrees of freedom in single precision: G (C - 1) less the item's own
// parameters, a parameter shared by all NITEM items counting 1/NITEM.
float nc_degrees_of_freedom(int MODEL, int G, int C, int NITEM);

// Writes item j's result row; P = -1 when DF <= 0.5, else 1 - CHIDF(X2, DF).
void nc_result(NcResultTable& T, int j, int in_score, int items_in_score, const NcStatistic& st, float DF);

// The row of an item that has no statistic: (in_score, 0, 0, 0, DF, -1).
void nc_none(NcResultTable& T, int j, int in_score, double DF);

// What OLTHX2 and OLTHX2B share at the start of a call.
struct NcScoreSet {
    int items[MAXITEM] = {};  // the items in the score, in item order
    int INC = 0;              // how many
    int SMAX = 0;             // the highest score
    int studied = 0;          // the first `studied` of them get a statistic
};

// Starts a call of OLTHX2 or OLTHX2B: every row of call.T says that none was
// computed, (NCITEM(j, 1), 0, 0, 0, 0, -1).  With no score (NNC = 0) or no
// respondent that is all, and there is no set.  Otherwise the routine
// tabulates the model at the sample's points into PT (a model number outside
// 1..8 writes " THE MODEL NUMBER IN OLTHX2 IS INCORRECT " for every item and
// point) and the score probabilities; clears the count tables over the
// scores and items of this call; forms the full score's distribution weighted
// by the points' weights (SCDIST) and its marginal probabilities (SCMARG);
// scores every respondent (SCORE, NSCORE); gives the item of a one-item score
// its row (1, 0, 0, 0, -1, -1); and returns the set.  A respondent with a
// response outside 0..NCAT-1 on any item (none is left after the listwise
// deletion) is left out, SCORE -1, rather than counted in a table.
std::optional<NcScoreSet> start_number_correct(std::ostream& con, const FittedModel& fm, const NcSample& sample,
                                               NumberCorrectWork& w, ProbabilityTable& PT, const NcCall& call);

// Item j's statistic against the score of which its own response is a part
// (`own`: the items in the score, with the fixed pooling of the extreme
// scores) or not: its table over scores 0..top from the respondents N by
// score, NCOBS and the expected proportions in NCEXP times N, pooled.
NcStatistic item_statistic(NumberCorrectWork& w, const Arr1<int, 0, MAXSCORE>& N, int j, int C, int top, bool own);

// Observed counts of item j by full score into NCOBS.
void observe_by_score(NumberCorrectWork& w, const NcSample& sample, int j);

// Observed counts of item i (C categories) by its rest score (the full score
// less its own contribution) into NCOBS, respondents by rest score into NREST
// (0..top).
void observe_by_rest_score(NumberCorrectWork& w, const NcSample& sample, int i, int C, int top);

// Item j, not in the score, conditioned on the full score (0..set.SMAX); the
// same in both routines, since leaving out an item that is not in the score
// changes nothing.
NcStatistic outside_item(NumberCorrectWork& w, const NcSample& sample, const ProbabilityTable& PT,
                         const NcScoreSet& set, int j);

// Column 2 of NCITEM as the routines leave it: column 1, with the last
// studied item at 0.
void leave_working_column(NcItemTable& NCITEM, int NITEM, const NcScoreSet& set);

// ---------------------------------------------------------------------------

namespace detail {

// The halving route of for_each_rest_score: the items [lo, hi) of level
// `level`, whose rest scores' common part is OUTSIDE[level].
template <class Visit>
struct RestScoreRoute {
    NumberCorrectWork& w;
    const int* items;
    int studied;
    Visit& visit;

    void below(int lo, int hi, int level) const {
        if (lo >= studied) return;
        const ScoreDistribution& outside = w.OUTSIDE[level];
        if (hi - lo == 1) {
            visit(lo, outside);
            return;
        }
        const int mid = (lo + hi) / 2;
        ScoreDistribution& next = w.OUTSIDE[level + 1];
        ScoreDistribution& spare = w.OUTSIDE[NC_LEVELS];
        add_items(w.PSCORE, outside, items + mid, hi - mid, next, spare);
        below(lo, mid, level + 1);
        if (mid >= studied) return;
        add_items(w.PSCORE, outside, items + lo, mid - lo, next, spare);
        below(mid, hi, level + 1);
    }
};

}  // namespace detail

template <class Visit>
void for_each_rest_score(NumberCorrectWork& w, const int* items, int m, int studied, Visit&& visit) {
    if (m < 1) return;
    score_distribution(w.PSCORE, items, 0, w.OUTSIDE[0], w.OUTSIDE[NC_LEVELS]);
    const detail::RestScoreRoute<std::remove_reference_t<Visit>> route{w, items, studied < m ? studied : m, visit};
    route.below(0, m, 0);
}

}  // namespace vorm
