#include "model/Marglike.h"

#include <cmath>
#include <ostream>
#include <stdexcept>

#include "common/textio.h"
#include "model/Probm.h"

namespace vorm {

namespace {

// Routine-owned work areas (point index fastest), too large for the stack.
Arr3<double, 1, MAXQUAD, 1, MAXITEM, 0, MAXCAT - 1> PTAB;
QuadReals QLIK;

// Below this the plain sum over the points may have lost terms that
// underflowed (at most NQUAD * 2^-1022 in all), which would no longer be
// negligible against L; above it the plain value is accurate to rounding.
constexpr double kPlainLow = 0x1p-960;

// ln L of one respondent with every point's product kept as a mantissa in
// [0.5, 1) and a binary exponent, so that no product underflows.
double scaled_log_likelihood(int p, const Store& st, const ItemInts& NCAT, int NITEM, int NQUAD,
                             const QuadReals& WQUAD) {
    double m[MAXQUAD];
    int e[MAXQUAD];
    for (int q = 0; q < NQUAD; ++q) {
        m[q] = 1.0;
        e[q] = 0;
    }
    for (int i = 1; i <= NITEM; ++i) {
        const int r = st.RESP(p, i);
        if (r < 0 || r >= NCAT(i)) continue;
        const double* col = &PTAB(1, i, r);
        for (int q = 0; q < NQUAD; ++q) {
            int ex;
            m[q] = std::frexp(m[q], &ex) * col[q];
            e[q] += ex;
        }
    }
    bool any = false;
    int emax = 0;
    for (int q = 0; q < NQUAD; ++q) {
        if (m[q] > 0.0 && (!any || e[q] > emax)) {
            emax = e[q];
            any = true;
        }
    }
    if (!any) return -HUGE_VAL;  // zero at every point even on this scale
    double sum = 0.0;
    for (int q = 0; q < NQUAD; ++q) sum += std::ldexp(m[q] * WQUAD(q + 1), e[q] - emax);
    return std::log(sum) + emax * std::log(2.0);
}

}  // namespace

void MARGLIKE(std::ostream& con, Store& st, const QuadReals& WQUAD, double& XLOGL, int MODEL, const ItemInts& NCAT,
              int NITEM, int NQUAD, int NSUBJ, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    if (NITEM > MAXITEM || NQUAD > MAXQUAD || NSUBJ > MAXSUBJ)
        throw std::invalid_argument("MARGLIKE: NITEM, NQUAD or NSUBJ exceeds the store's capacity");
    XLOGL = 0.0;
    for (int i = 1; i <= NITEM; ++i) {
        const int K = NCAT(i);
        for (int q = 1; q <= NQUAD; ++q) {
            if (!PROBM(st, MODEL, q, i, K, UNIT, TAUC, XQUAD.data()))
                write_free(con, {" THE MODEL NUMBER IN MARGLIKE IS INCORRECT "});
            for (int c = 0; c < K; ++c) PTAB(q, i, c) = st.PROB(c);
        }
    }
    if (NSUBJ < 1) return;

    for (int p = 1; p <= NSUBJ; ++p) {
        for (int q = 1; q <= NQUAD; ++q) QLIK(q) = 1.0;
        for (int i = 1; i <= NITEM; ++i) {
            const int r = st.RESP(p, i);
            // A response without a table entry (at or above the item's count)
            // is left out like a missing one rather than read from a stale slot.
            if (r < 0 || r >= NCAT(i)) continue;
            for (int q = 1; q <= NQUAD; ++q) QLIK(q) = QLIK(q) * PTAB(q, i, r);
        }
        double L = 0.0;
        for (int q = 1; q <= NQUAD; ++q) L += QLIK(q) * WQUAD(q);
        if (L >= kPlainLow || std::isnan(L))
            XLOGL += std::log(L);
        else
            XLOGL += scaled_log_likelihood(p, st, NCAT, NITEM, NQUAD, WQUAD);
    }

    double lnfact = 0.0;
    for (int k = 1; k <= NSUBJ; ++k) lnfact += std::log(static_cast<double>(k));
    XLOGL += lnfact;
}

}  // namespace vorm
