// The model runs once per item and point into the tables; the respondent loop
// only reads them.  Tables are point fastest, so each sum over the quadrature
// walks contiguous memory.
#include "statistics/Stderrc.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/status.h"
#include "common/stopsignal.h"
#include "common/textio.h"
#include "model/Traits.h"
#include "numlib/Dlinrg.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {

constexpr int LD = MAXPARM;  // leading dimension of the per-item matrices

// An item's parameters in the order of its matrix: the discrimination (when
// the model has one), the location, then the unit or the K-1 thresholds.
int lead_count(const ModelTraits& m) { return m.discrimination ? 2 : 1; }
int tail_count(const ModelTraits& m, int K) { return m.unit ? 1 : K - 1; }

// Point-1 entry of the derivative table of parameter a (1-based in the item's
// order) for item i answered with category x; the next NQUAD entries are the
// following points.
const double* derivative_column(const DerivativeTable& D, const ModelTraits& m, int a, int i, int x) {
    const int lead = lead_count(m);
    if (a <= lead) return &D.AD(1, i, x, (m.discrimination && a == 1) ? 1 : 2);
    return &D.LT(1, i, a - lead, x);  // unit in row 1, threshold k in row k
}

// The current respondent's scores: GITEM(a, i) for item i's parameters (0
// for an item left unanswered), and their sums over the items for the common
// parameters.  Returns the likelihood f on the scale of the scores.
double respondent_scores(const JobSettings& job, const Store& st, StandardErrorWork& w, const ProbabilityTable& PT,
                         int j, double* common) {
    const ModelTraits& m = model_traits(job.MODEL);
    const int nq = job.NQUAD;
    QuadReals LS;
    int scale = 0;
    // A rescaled likelihood leaves every ratio g/f, and so every score, unchanged.
    const double f = respondent_likelihood(st, PT, j, st.WQUAD, LS, scale);

    const int lead = lead_count(m);
    const int ncommon = m.common ? tail_count(m, job.NCAT(1)) : 0;
    for (int k = 0; k < ncommon; ++k) common[k] = 0.0;
    for (int i = 1; i <= job.NITEM; ++i) {
        const int n = lead + tail_count(m, job.NCAT(i));
        const int x = st.RESP(j, i);
        if (x < 0 || x >= job.NCAT(i)) {  // missing, as in the likelihood
            for (int a = 1; a <= n; ++a) w.GITEM(a, i) = 0.0;
            continue;
        }
        // Where P(x) underflowed to exactly 0, LS and the derivative both carry
        // it as a factor: the term is its limit, 0, and is left out rather
        // than added as 0/0.  Only then is a sum NaN, so only then is it
        // formed again without those terms (the plain loop stays lean).
        const double* p = &PT.P(1, i, x);
        for (int a = 1; a <= n; ++a) {
            const double* D = derivative_column(w.D, m, a, i, x);
            double g = 0.0;
            for (int q = 1; q <= nq; ++q) g += D[q - 1] * LS(q) * st.WQUAD(q) / p[q - 1];
            if (std::isnan(g)) {
                g = 0.0;
                for (int q = 1; q <= nq; ++q)
                    if (p[q - 1] != 0.0) g += D[q - 1] * LS(q) * st.WQUAD(q) / p[q - 1];
            }
            w.GITEM(a, i) = g;
        }
        for (int k = 0; k < ncommon; ++k) common[k] += w.GITEM(lead + 1 + k, i);
    }
    return f;
}

void accumulate(const JobSettings& job, Store& st, const StandardErrorWork& w, const ModelTraits& m, double f,
                const double* common) {
    const double f2 = f * f;
    const int lead = lead_count(m);
    double score[MAXPARM];
    for (int i = 1; i <= job.NITEM; ++i) {
        const int n = lead + tail_count(m, job.NCAT(i));
        for (int a = 1; a <= n; ++a) score[a - 1] = (m.common && a > lead) ? common[a - lead - 1] : w.GITEM(a, i);
        for (int b = 1; b <= n; ++b)
            for (int a = 1; a <= n; ++a) st.SECOV(a, b, i) += score[a - 1] * score[b - 1] / f2;
    }
}

void report_singularity(Io& io, const JobSettings& job, int i) {
    std::string line =
        format_free({" SINGULARITY WHEN INFORMATION MATRIX", " INVERTED FOR ITEM PARAMETER STANDARD ERRORS",
                     " FOR ITEM #", i, " IN MODEL " + std::to_string(job.MODEL) + "."});
    io.warnings.warn(job.WRKDIR, line);
    io.report() << line << '\n';
}

void invert_items(Io& io, const JobSettings& job, Store& st, const ModelTraits& m) {
    double INFMAT[LD * LD], INFINV[LD * LD];
    auto inv = [&INFINV](int a, int b) -> double& { return INFINV[(a - 1) + (b - 1) * LD]; };
    const int lead = lead_count(m);
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        const int n = lead + tail_count(m, K);
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

        if (m.discrimination) {
            st.ASTD(i) = std::sqrt(inv(1, 1));
            st.DSTD(i) = std::sqrt(inv(2, 2));
            st.CORRDA(i) = inv(1, 2) / (std::sqrt(inv(1, 1)) * std::sqrt(inv(2, 2)));
        } else {
            st.DSTD(i) = std::sqrt(inv(1, 1));
        }
        if (m.common) continue;
        if (m.unit) {
            st.LSTD(i) = std::sqrt(inv(lead + 1, lead + 1));
        } else {
            st.TAUSTD(i, 0) = 0.0;
            for (int k = 1; k <= K - 1; ++k) st.TAUSTD(i, k) = std::sqrt(inv(lead + k, lead + k));
        }
    }
}

void common_errors(const JobSettings& job, Store& st, const ModelTraits& m) {
    const int lead = lead_count(m);
    const double share = 1.0 / job.NITEM;
    if (m.unit) {
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

void STDERRC(Io& io, const JobSettings& job, Store& st, StandardErrorWork& w, ProbabilityTable& PT) {
    write_free(io.con);
    write_free(io.con, {" COMPUTING APPROXIMATE ITEM STANDARD ERRORS"});
    write_free(io.con);

    // Only the job's items: nothing reads the table beyond them, and a small
    // job leaves the rest of it untouched.
    for (int i = 1; i <= std::min(job.NITEM, MAXITEM); ++i) std::fill_n(&st.SECOV(1, 1, i), MAXPARM * MAXPARM, 0.0);
    const bool known = fill_probability_table(io.con, PT, model_parameters(st, job.MODEL, job.NCAT, job.NITEM),
                                              st.XQUAD, job.NQUAD, " THE MODEL NUMBER IN RANDN2 IS INCORRECT ", &w.D);
    if (!known || job.NITEM < 1) return;

    const ModelTraits& m = model_traits(job.MODEL);
    double common[MAXPARM];
    for (int j = 1; j <= job.NSUBJ; ++j) {
        stop_point();
        const double f = respondent_scores(job, st, w, PT, j, common);
        accumulate(job, st, w, m, f, common);
    }
    invert_items(io, job, st, m);
    if (m.common) common_errors(job, st, m);
}

}  // namespace vorm
