#include "statistics/Perest.h"

#include <cmath>
#include <ostream>

#include "estimation/Randn2.h"

namespace vorm {

namespace {
PointItemCatReals PTABP;
QuadReals LQ;
}  // namespace

void PEREST(std::ostream& con, Store& st, const QuadReals& WQUAD, int MODEL, const ItemInts& NCAT, int NITEM, int NQUAD,
            int NSUBJ, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    fill_probability_table(con, st, PTABP, MODEL, NCAT, NITEM, NQUAD, UNIT, TAUC, XQUAD);
    for (int j = 1; j <= NSUBJ; ++j) {
        double S = respondent_likelihood(st, PTABP, j, NITEM, NQUAD, WQUAD, LQ);
        if (!(S > 0.0)) {
            // Nothing can be learnt from this respondent's answers: the prior.
            S = respondent_likelihood(st, PTABP, j, 0, NQUAD, WQUAD, LQ);
        }
        double T = 0.0;
        for (int q = 1; q <= NQUAD; ++q) T += XQUAD(q) * LQ(q) * WQUAD(q);
        const double th = T * (1.0 / S);
        double V = 0.0;
        for (int q = 1; q <= NQUAD; ++q) {
            const double d = XQUAD(q) - th;
            V += d * d * LQ(q) * WQUAD(q);
        }
        st.THETA(j) = th;
        st.TSTD(j) = std::sqrt(V * (1.0 / S));
    }
}

}  // namespace vorm
