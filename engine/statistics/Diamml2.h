// The fit analysis: run last, and only when the job asks for fit statistics
// (IFITAN = 1), after the parameter and plot files are written.  It reads the
// model, every item's parameters (the common ones filled in) and the data and
// estimates from the fitted model fm, the run stamp and the fit settings
// (NFITG, IPRALL, the cut-offs and alphas) from the job, and writes neither:
// the store and the job stay as the estimation left them.  Its stages, always
// in this order:
//   1  the head of the fit report FT15F001;
//   2  (the common unit or thresholds filled in for every item: the view
//      has them, nothing is copied);
//   3  every respondent's expected score, response variance and fourth
//      central moment on every item at THETA, with the probability check,
//      and whether any response is missing;
//   4  the item order ITORD: ascending DELTA, as SORTIT leaves equal ones;
//   5  item infit and outfit: pass 1 writes one record per item to the
//      scratch file FT19F001, pass 2 reads them back and prints the item
//      section, with the thresholds as the model has them (in models 1, 2, 5
//      and 6 those the unit stands for);
//   6  respondent infit and outfit in the same two passes, into the
//      respondent section;
//   7  fit groups of neighbouring abilities and the detail file FT18F001;
//   8  item likelihood-ratio chi-squares over the fit groups, the global
//      line, and FT19F001 closed;
//   9  the analysis's own quadrature grid and, when a response is missing,
//      the listwise deletion: the number-correct statistics take only the
//      respondents who answered every item, from the analysis's own copy;
//   10 the item chi-squares conditioned on the number-correct score and
//      their section (both at the end of this header, in Ncsection.cpp).
//
// Every statistic printed, and every localized value, is computed from the
// values as the scratch file holds them (five decimals); a value too wide for
// its scratch field is carried as its own value rounded to five decimals, so
// the second pass never fails.  Chi-squares and tail probabilities are single
// precision, p = 1 - GAMMP(df/2, X/2) (Gammp.h).  A DF of zero or less, or a
// statistic that cannot be formed (no valid response, zero variance), gives
// NaN, which prints as asterisks and is left out of the sums of squared
// standardized values behind the localized values.
//
// Probabilities at a respondent's ability come from the model's evaluation
// (Evaluate.h); those at the fit groups' abilities from the shared table PT.
// A model number outside 1..8 prints
// " THE MODEL NUMBER IN DIAMML2 IS INCORRECT " after the report head and
// ends the analysis there.
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "common/io.h"
#include "model/Fittedmodel.h"
#include "model/Probtable.h"
#include "statistics/Ncscore.h"

namespace vorm {

// One item's or respondent's statistics as pass 1 computes them, and the
// localized values of pass 2.  Flags are three blanks or "+++" (probability),
// "***" (standardized value), "^^^" (localized value, respondents only); pass
// 1 sets them, since a default other than zero would not reach the copies in
// the workspace (driver/Workspace.h).
struct FitStatistics {
    double infit = 0.0, outfit = 0.0;
    float chi_in = 0.0f, chi_out = 0.0f;
    int df = 0;
    float p_in = 0.0f, p_out = 0.0f;
    double t_in = 0.0, t_out = 0.0;
    double loc_in = 0.0, loc_out = 0.0;
    const char* flag_p_in = nullptr;
    const char* flag_t_in = nullptr;
    const char* flag_p_out = nullptr;
    const char* flag_t_out = nullptr;
};

// One item's likelihood-ratio table over the fit groups, row g: the number
// of valid responses n(g), the observed counts O(g, k) and the expected
// counts E(g, k), k = 0..C-1.
struct LikelihoodRatioTable {
    Arr1<double, 1, MAXFITG> n;
    Arr2<double, 1, MAXFITG, 0, MAXCAT - 1> O, E;
};

struct LikelihoodRatio {
    double G2 = 0.0;
    int DF = 0;
    float p = 0.0f;
    int J = 0;  // rows that entered G**2
};

// The analysis's tables (respondents and items 1-based, categories from 0),
// one per run in the workspace.
struct FitWork {
    // Stage 3, respondent n on item i at THETA(n): expected score, variance
    // W, fourth central moment K and the sum of the probabilities behind
    // them (its check is repeated where stages 5 and 6 use the moments).
    Arr2<double, 1, MAXSUBJ, 1, MAXITEM> EXPSC, VARSC, MOM4, PSUM;
    bool missing = false;  // some RESP(n, i) < 0

    Arr1<int, 1, MAXITEM> ITORD;  // item numbers in ascending DELTA
    ItemReals DSORT;
    Arr1<FitStatistics, 1, MAXITEM> ITEMFIT;  // by item number
    Arr1<FitStatistics, 1, MAXSUBJ> PERSFIT;  // by respondent number

    // Stage 7: respondents in ascending THETA (JORD the respondent numbers,
    // JSORT their abilities) and the groups cut from that order.
    Arr1<int, 1, MAXSUBJ> JORD;
    SubjReals JSORT;
    int NGROUP = 0;
    Arr1<int, 1, MAXFITG> FGSIZE, FGFIRST;  // size, first position in JORD
    Arr1<double, 1, MAXFITG> FGMEAN, FGMED;
    Arr2<double, 1, MAXFITG, 0, MAXCAT - 1> FGOBS, FGEXP;  // of the current item

    // Stage 8: the groups' abilities as locations of the probability table,
    // the current item's table, each item's result and the global line.
    QuadReals XG;
    LikelihoodRatioTable LR;
    Arr1<LikelihoodRatio, 1, MAXITEM> ITEMLR;  // by item number
    LikelihoodRatio GLOBAL;

    // Stages 9 and 10: the number-correct score, its selections and results,
    // the analysis's own grid and its copy of the complete respondents.
    NumberCorrectWork nc;
};

void DIAMML2(Io& io, const JobSettings& job, const FittedModel& fm, FitWork& w, ProbabilityTable& PT);

// The probability check of every stage: a sum of an item's category
// probabilities further than the single-precision 1e-4 from 1 writes a
// console record of the item number, the respondent's number (or position),
// the sum and the stage's text, and the run goes on.
bool probability_sum_off(double sum);
void probability_problem(std::ostream& con, int i, int n, double sum, const char* text);

// Stages 7 and 8 (Fitgroups.cpp), for 1 to MAXFITG fit groups.  An empty
// group (fewer respondents than groups) prints zeros for its abilities and
// proportions; when the abilities have no spread to scale by (fewer than two
// respondents, or all equal) the groups' abilities are their mean THETA
// unscaled.
void fit_groups(Io& io, const FittedModel& fm, int NFITG, FitWork& w);
void likelihood_ratio_chisquares(Io& io, const FittedModel& fm, FitWork& w, ProbabilityTable& PT);

// G groups cut from N respondents in ability order: N div G each, and one
// more for each of the first N mod G.
void fit_group_sizes(int N, int G, Arr1<int, 1, MAXFITG>& FGSIZE);
// Folds every sparse row (an expected count below 1) whole into its
// neighbour, upward over rows 1..G-1, then downward over rows G..2; nothing
// is folded when G < 2.
void fold_sparse_rows(LikelihoodRatioTable& t, int G, int C);
// G**2 = 2 sum O ln(O/E) over the rows with n(g) >= 1e-4, J their number.
// An expected count of 0 in such a row makes G**2 infinite.
double likelihood_ratio_chisq(const LikelihoodRatioTable& t, int G, int C, int& J);

// Stages 9 and 10 (Ncsection.cpp).  They receive FitWork with `missing` and
// ITORD, FT15F001 open for the section, FT18F001 and FT19F001 closed, and PT
// free to refill.
// Stage 9: the sample of the number-correct statistics (Ncscore.h): the grid
// rebuilt (GETQUA) into w.nc's XQUAD and WQUAD, and the store's respondents,
// or, when a response is missing, the complete ones copied into w.nc.KEPT
// (drop_incomplete_respondents, Ncsection.h).
NcSample listwise_deletion(const FittedModel& fm, FitWork& w);
// Stage 10: the items of the number-correct score chosen twice (ITCORR, all
// items, then the extreme ones), the chi-squares conditioned on the full and
// on the rest score for both choices (OLTHX2, OLTHX2B) into w.nc's SCHI,
// CSCHI, SSCHI and CSSCHI, and their section of FT15F001.
void number_correct_section(Io& io, const FittedModel& fm, const NcSample& sample, FitWork& w, ProbabilityTable& PT);

}  // namespace vorm
