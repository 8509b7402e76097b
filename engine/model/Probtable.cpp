#include "model/Probtable.h"

#include <cmath>
#include <ostream>
#include <stdexcept>

#include "common/textio.h"
#include "model/Evaluate.h"
#include "model/Traits.h"

namespace vorm {

namespace {

// Below this the plain sum over the points may have lost terms that
// underflowed (at most NQUAD * 2^-1022 in all), which would no longer be
// negligible against S; above it the plain value is accurate to rounding.
constexpr double kPlainLow = 0x1p-960;

unsigned results_for(int MODEL, bool derivatives) {
    if (!derivatives) return PROBABILITIES;
    const ModelTraits& m = model_traits(MODEL);
    return PROBABILITIES | BY_DELTA | (m.discrimination ? BY_ALPHA : 0u) | (m.unit ? BY_UNIT : BY_THRESHOLDS);
}

void copy_derivatives(const ModelValues& mv, const ModelTraits& m, DerivativeTable& D, int q, int i, int K) {
    for (int c = 0; c < K; ++c) {
        if (m.discrimination) D.AD(q, i, c, 1) = mv.DPAD(1, c);
        D.AD(q, i, c, 2) = mv.DPAD(2, c);
        const int rows = m.unit ? 1 : K - 1;
        for (int k = 1; k <= rows; ++k) D.LT(q, i, k, c) = mv.DPLT(k, c);
    }
}

bool answered(const ProbabilityTable& PT, int i, int x) { return x >= 0 && x < PT.NCAT(i); }

// The product kept per point as a mantissa and a binary exponent, so that no
// product underflows however many small probabilities it takes.
double scaled_likelihood(const Store& st, const ProbabilityTable& PT, int j, const QuadReals& WQUAD, double* lq,
                         int& scale) {
    const int nq = PT.NQUAD;
    double m[MAXQUAD];
    int e[MAXQUAD];
    for (int q = 0; q < nq; ++q) {
        m[q] = 1.0;
        e[q] = 0;
    }
    for (int i = 1; i <= PT.NITEM; ++i) {
        const int x = st.RESP(j, i);
        if (!answered(PT, i, x)) continue;
        const double* p = &PT.P(1, i, x);
        for (int q = 0; q < nq; ++q) {
            int ex;
            m[q] = std::frexp(m[q], &ex) * p[q];
            e[q] += ex;
        }
    }
    bool any = false;
    int emax = 0;
    for (int q = 0; q < nq; ++q)
        if (m[q] > 0.0 && (!any || e[q] > emax)) {
            emax = e[q];
            any = true;
        }
    scale = any ? emax : 0;
    double S = 0.0;
    for (int q = 0; q < nq; ++q) {
        lq[q] = any ? std::ldexp(m[q], e[q] - emax) : 0.0;
        S += lq[q] * WQUAD(q + 1);
    }
    return S;
}

}  // namespace

bool fill_probability_table(std::ostream& con, ProbabilityTable& PT, const ModelParameters& m, const QuadReals& X,
                            int NQUAD, const char* bad_model, DerivativeTable* D) {
    if (m.NITEM > MAXITEM || NQUAD > MAXQUAD)
        throw std::invalid_argument("the probability table holds at most 100 items and 50 points");
    const ModelTraits& traits = model_traits(m.MODEL);
    const unsigned results = results_for(m.MODEL, D != nullptr);
    PT.NITEM = m.NITEM;
    PT.NQUAD = NQUAD;
    ModelValues mv;
    for (int i = 1; i <= m.NITEM; ++i) {
        const ItemParameters& p = m.item(i);
        const int K = p.K;
        PT.NCAT(i) = K;
        for (int q = 1; q <= NQUAD; ++q) {
            if (!evaluate_point(mv, m.MODEL, results, p, X(q))) write_free(con, {bad_model});
            for (int c = 0; c < K; ++c) PT.P(q, i, c) = mv.PROB(c);
            if (D != nullptr && traits.valid) copy_derivatives(mv, traits, *D, q, i, K);
        }
    }
    return traits.valid;
}

double respondent_likelihood(const Store& st, const ProbabilityTable& PT, int j, const QuadReals& WQUAD, QuadReals& LQ,
                             int& scale) {
    const int nq = PT.NQUAD;
    double* lq = LQ.data();
    for (int q = 0; q < nq; ++q) lq[q] = 1.0;
    const int* resp = &st.RESP(j, 1);
    constexpr int stride = decltype(st.RESP)::n1;
    for (int i = 1; i <= PT.NITEM; ++i) {
        const int x = resp[(i - 1) * stride];
        if (!answered(PT, i, x)) continue;
        const double* p = &PT.P(1, i, x);
        for (int q = 0; q < nq; ++q) lq[q] *= p[q];
    }
    const double* wq = WQUAD.data();
    double S = 0.0;
    for (int q = 0; q < nq; ++q) S += lq[q] * wq[q];
    scale = 0;
    if (!(S < kPlainLow)) return S;  // a NaN stays as it is
    return scaled_likelihood(st, PT, j, WQUAD, lq, scale);
}

}  // namespace vorm
