// Approximate standard errors of the item parameters.
//
// For every item the information matrix of its own parameters is the sum over
// respondents of the outer product of their scores (derivatives of the log
// marginal likelihood, evaluated over the quadrature); its inverse gives the
// standard errors.  A parameter shared by all items (the unit of models 1 and
// 5, the thresholds of models 3 and 7) is scored once per respondent over all
// the items answered, and its standard error is taken from the mean of the
// items' variances for it.
//
// The model routines run once per item and point into the tables below; the
// respondent loop only reads the tables.  Tables are point fastest, so each
// sum over the quadrature walks contiguous memory.
#include <cmath>
#include <ostream>
#include <string>

#include "common/status.h"
#include "common/textio.h"
#include "driver/Stages.h"
#include "estimation/Randn2.h"
#include "model/Dp.h"
#include "model/Probm.h"
#include "numlib/Dlinrg.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {

constexpr int LD = MAXPARM;  // leading dimension of the per-item matrices

// Work areas of fixed capacity, private to this stage and kept out of the
// stack: the derivative table alone is 3.6 MB.
PointItemCatReals PTABS;
Arr4<double, 1, MAXQUAD, 1, MAXITEM, 0, MAXCAT - 1, 1, 2> DTABAD;
Arr4<double, 1, MAXQUAD, 1, MAXITEM, 1, MAXCAT - 1, 0, MAXCAT - 1> DTABLT;
QuadReals LS;
Arr1<double, 1, MAXPARM> SCORE;
double INFMAT[LD * LD];
double INFINV[LD * LD];
// Scores of the current respondent for every item's parameters (0 for an item
// left unanswered) and for the common parameters.
Arr2<double, 1, MAXPARM, 1, MAXITEM> GITEM;
Arr1<double, 1, MAXPARM> GCOMMON;

// Which parameters a model gives each item, in the order of its matrix: an
// optional discrimination, the location, then either the unit or the K-1
// thresholds, which may be common to all items.
struct Layout {
    bool alpha;
    bool unit;    // unit parameter (otherwise thresholds)
    bool common;  // the last block is shared by all items
};

Layout layout_of(int model) {
    return Layout{model >= 5, model == 1 || model == 2 || model == 5 || model == 6,
                  model == 1 || model == 3 || model == 5 || model == 7};
}

int lead_count(const Layout& L) { return L.alpha ? 2 : 1; }
int tail_count(const Layout& L, int K) { return L.unit ? 1 : K - 1; }

// Point-1 entry of the derivative table of parameter a (1-based in the item's
// order) for item i answered with category x; the next NQUAD entries are the
// following points.
const double* derivative_column(const Layout& L, int a, int i, int x) {
    const int lead = lead_count(L);
    if (a <= lead) {
        const int kind = (L.alpha && a == 1) ? 1 : 2;
        return &DTABAD(1, i, x, kind);
    }
    const int row = a - lead;  // unit in row 1, threshold k in row k
    return &DTABLT(1, i, row, x);
}

void fill_tables(Io& io, const JobSettings& job, Store& st, bool& known_model) {
    const int model = job.MODEL;
    const Layout L = layout_of(model);
    const double* x = st.XQUAD.data();
    known_model = model >= 1 && model <= 8;
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        for (int q = 1; q <= job.NQUAD; ++q) {
            if (!known_model) {
                write_free(io.con, {" THE MODEL NUMBER IN RANDN2 IS INCORRECT "});
                continue;
            }
            PROBM(st, model, q, i, K, st.UNIT, st.TAUC, x);
            DPDEL(st, model, q, i, K, st.UNIT, st.TAUC, x);
            if (L.alpha) DPALP(st, model, q, i, K, st.UNIT, st.TAUC, x);
            if (L.unit)
                DPLAM(st, model, q, i, K, st.UNIT, st.TAUC, x);
            else
                DPTAU(st, model, q, i, K, st.UNIT, st.TAUC, x);
            for (int c = 0; c < K; ++c) {
                PTABS(q, i, c) = st.PROB(c);
                DTABAD(q, i, c, 1) = st.DPAD(1, c);
                DTABAD(q, i, c, 2) = st.DPAD(2, c);
                for (int k = 1; k <= K - 1; ++k) DTABLT(q, i, k, c) = st.DPLT(k, c);
            }
        }
    }
}

void respondent_scores(const JobSettings& job, Store& st, const Layout& L, int j, double& f) {
    const int nq = job.NQUAD;
    // A rescaled product leaves every ratio g/f, and so every score, unchanged.
    f = respondent_likelihood(st, PTABS, j, job.NITEM, nq, st.WQUAD, LS);

    const int ntail = L.common ? tail_count(L, job.NCAT(1)) : 0;
    for (int k = 1; k <= ntail; ++k) GCOMMON(k) = 0.0;
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        const int n = lead_count(L) + tail_count(L, K);
        const int x = st.RESP(j, i);
        if (x < 0) {
            for (int a = 1; a <= n; ++a) GITEM(a, i) = 0.0;
            continue;
        }
        const double* p = &PTABS(1, i, x);
        for (int a = 1; a <= n; ++a) {
            const double* D = derivative_column(L, a, i, x);
            double g = 0.0;
            for (int q = 1; q <= nq; ++q) g += D[q - 1] * LS(q) * st.WQUAD(q) / p[q - 1];
            GITEM(a, i) = g;
        }
        if (L.common)
            for (int k = 1; k <= ntail; ++k) GCOMMON(k) += GITEM(lead_count(L) + k, i);
    }
}

void accumulate(const JobSettings& job, Store& st, const Layout& L, double f) {
    const double f2 = f * f;
    const int lead = lead_count(L);
    for (int i = 1; i <= job.NITEM; ++i) {
        const int n = lead + tail_count(L, job.NCAT(i));
        for (int a = 1; a <= n; ++a) SCORE(a) = (L.common && a > lead) ? GCOMMON(a - lead) : GITEM(a, i);
        for (int b = 1; b <= n; ++b)
            for (int a = 1; a <= n; ++a) st.SECOV(a, b, i) += SCORE(a) * SCORE(b) / f2;
    }
}

double& inv(int a, int b) { return INFINV[(a - 1) + (b - 1) * LD]; }

void report_singularity(Io& io, const JobSettings& job, int i) {
    std::string line =
        format_free({" SINGULARITY WHEN INFORMATION MATRIX", " INVERTED FOR ITEM PARAMETER STANDARD ERRORS",
                     " FOR ITEM #", i, " IN MODEL " + std::to_string(job.MODEL) + "."});
    write_status(job.WRKDIR, {line});
    io.report() << line << '\n';
}

void invert_items(Io& io, const JobSettings& job, Store& st, const Layout& L) {
    const int lead = lead_count(L);
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        const int n = lead + tail_count(L, K);
        for (int b = 1; b <= n; ++b)
            for (int a = 1; a <= n; ++a) INFMAT[(a - 1) + (b - 1) * LD] = st.SECOV(a, b, i);
        DLINRG(n, INFMAT, LD, INFINV, LD);
        const int code = LAST_ERROR_CODE();
        if (code != 0) report_singularity(io, job, i);
        // A singular matrix leaves the factors, not an inverse: nothing taken
        // from it may look like a standard error.
        if (code == 2)
            for (int b = 1; b <= n; ++b)
                for (int a = 1; a <= n; ++a) inv(a, b) = std::nan("");
        for (int b = 1; b <= n; ++b)
            for (int a = 1; a <= n; ++a) st.SECOV(a, b, i) = inv(a, b);

        if (L.alpha) {
            st.ASTD(i) = std::sqrt(inv(1, 1));
            st.DSTD(i) = std::sqrt(inv(2, 2));
            st.CORRDA(i) = inv(1, 2) / (std::sqrt(inv(1, 1)) * std::sqrt(inv(2, 2)));
        } else {
            st.DSTD(i) = std::sqrt(inv(1, 1));
        }
        if (L.common) continue;
        if (L.unit) {
            st.LSTD(i) = std::sqrt(inv(lead + 1, lead + 1));
        } else {
            st.TAUSTD(i, 0) = 0.0;
            for (int k = 1; k <= K - 1; ++k) st.TAUSTD(i, k) = std::sqrt(inv(lead + k, lead + k));
        }
    }
}

void common_errors(const JobSettings& job, Store& st, const Layout& L) {
    const int lead = lead_count(L);
    const double share = 1.0 / job.NITEM;
    if (L.unit) {
        double sum = 0.0;
        for (int i = 1; i <= job.NITEM; ++i) sum += st.SECOV(lead + 1, lead + 1, i);
        st.LSTD(1) = std::sqrt(share * sum);
        return;
    }
    // The categories are the same for every item in these models.
    const int K = job.NCAT(1);
    for (int k = 0; k <= K - 1; ++k) st.TAUSTD(1, k) = 0.0;
    for (int i = 1; i <= job.NITEM; ++i)
        for (int k = 1; k <= K - 1; ++k) st.TAUSTD(1, k) += share * st.SECOV(lead + k, lead + k, i);
    for (int k = 1; k <= K - 1; ++k) st.TAUSTD(1, k) = std::sqrt(st.TAUSTD(1, k));
}

}  // namespace

void STDERRC(Io& io, JobSettings& job, Store& st) {
    write_free(io.con);
    write_free(io.con, {" COMPUTING APPROXIMATE ITEM STANDARD ERRORS"});
    write_free(io.con);

    st.SECOV.fill(0.0);
    bool known_model = false;
    fill_tables(io, job, st, known_model);
    if (!known_model || job.NITEM < 1) return;

    const Layout L = layout_of(job.MODEL);
    for (int j = 1; j <= job.NSUBJ; ++j) {
        double f = 0.0;
        respondent_scores(job, st, L, j, f);
        accumulate(job, st, L, f);
    }
    invert_items(io, job, st, L);
    if (L.common) common_errors(job, st, L);
}

}  // namespace vorm
