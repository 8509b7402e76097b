#include "estimation/Randn2.h"

#include <cfloat>
#include <cmath>
#include <ostream>

#include "common/textio.h"
#include "model/Probm.h"

namespace vorm {

namespace {
ExpectedCounts g_counts;
PointItemCatReals PTABR;
QuadReals LQR;
QuadReals POST;  // posterior weight of the current respondent at each point
}  // namespace

ExpectedCounts& expected_counts() { return g_counts; }

double respondent_likelihood(const Store& st, const PointItemCatReals& PT, int j, int NITEM, int NQUAD,
                             const QuadReals& WQUAD, QuadReals& LQ) {
    double* lq = LQ.data();
    for (int q = 0; q < NQUAD; ++q) lq[q] = 1.0;
    const int* resp = &st.RESP(j, 1);
    constexpr int stride = decltype(st.RESP)::n1;
    for (int i = 1; i <= NITEM; ++i) {
        const int r = resp[(i - 1) * stride];
        if (r < 0) continue;
        const double* p = &PT(1, i, r);
        for (int q = 0; q < NQUAD; ++q) lq[q] *= p[q];
    }
    const double* wq = WQUAD.data();
    double pn = 0.0;
    for (int q = 0; q < NQUAD; ++q) pn += lq[q] * wq[q];
    if (pn >= DBL_MIN || NQUAD < 1) return pn;

    // The plain product underflowed: rebuild it, lifting it by 2^600 whenever
    // its largest entry falls below 2^-600.  Powers of two scale exactly, so
    // the posterior weights are those of the unscaled product.
    const double lift = std::ldexp(1.0, 600);
    const double low = std::ldexp(1.0, -600);
    for (int q = 0; q < NQUAD; ++q) lq[q] = 1.0;
    for (int i = 1; i <= NITEM; ++i) {
        const int r = resp[(i - 1) * stride];
        if (r < 0) continue;
        const double* p = &PT(1, i, r);
        double top = 0.0;
        for (int q = 0; q < NQUAD; ++q) {
            lq[q] *= p[q];
            if (lq[q] > top) top = lq[q];
        }
        if (top > 0.0 && top < low)
            for (int q = 0; q < NQUAD; ++q) lq[q] *= lift;
    }
    pn = 0.0;
    for (int q = 0; q < NQUAD; ++q) pn += lq[q] * wq[q];
    return pn;
}

void fill_probability_table(std::ostream& con, Store& st, PointItemCatReals& PT, int MODEL, const ItemInts& NCAT,
                            int NITEM, int NQUAD, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    for (int i = 1; i <= NITEM; ++i) {
        const int K = NCAT(i);
        for (int q = 1; q <= NQUAD; ++q) {
            if (!PROBM(st, MODEL, q, i, K, UNIT, TAUC, XQUAD.data()))
                write_free(con, {" THE MODEL NUMBER IN RANDN2 IS INCORRECT "});
            for (int c = 0; c < K; ++c) PT(q, i, c) = st.PROB(c);
        }
    }
}

void RANDN2(std::ostream& con, Store& st, const QuadReals& WQUAD, int MODEL, const ItemInts& NCAT, int NITEM, int NQUAD,
            int NSUBJ, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    auto& RBAR = g_counts.RBAR;
    auto& NBAR = g_counts.NBAR;
    fill_probability_table(con, st, PTABR, MODEL, NCAT, NITEM, NQUAD, UNIT, TAUC, XQUAD);
    for (int j = 1; j <= NITEM; ++j)
        for (int q = 1; q <= NQUAD; ++q) {
            for (int c = 0; c < NCAT(j); ++c) RBAR(q, j, c) = 0.0;
            NBAR(q, j) = 0.0;
        }

    constexpr int stride = decltype(st.RESP)::n1;
    const double* wq = WQUAD.data();
    double* post = POST.data();
    for (int s = 1; s <= NSUBJ; ++s) {
        const double pn = respondent_likelihood(st, PTABR, s, NITEM, NQUAD, WQUAD, LQR);
        if (!(pn > 0.0)) continue;  // nothing answered can be credited
        const double* lq = LQR.data();
        for (int q = 0; q < NQUAD; ++q) post[q] = lq[q] * wq[q] / pn;
        const int* resp = &st.RESP(s, 1);
        for (int j = 1; j <= NITEM; ++j) {
            const int r = resp[(j - 1) * stride];
            if (r < 0) continue;
            double* rb = &RBAR(1, j, r);
            double* nb = &NBAR(1, j);
            for (int q = 0; q < NQUAD; ++q) {
                rb[q] += post[q];
                nb[q] += post[q];
            }
        }
    }
}

}  // namespace vorm
