// Item information against the definition sum of P'(c)^2 / P(c), with P' from
// central differences of the model's own probabilities.
#include <cmath>

#include "model/Probm.h"
#include "plot_fixture.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm::test {
namespace {

// Item 1 with K categories: thresholds spread like those a unit gives, the
// per-item and common parameters different from each other, and the threshold
// row of a unit model left holding values that no estimate gave it.
void set_item(Store& st, int model, int K, double delta, double alpha) {
    const int M = 2 * K - 1;
    st.DELTA(1) = delta;
    st.ALPHA(1) = model >= 5 ? alpha : 1.0;
    st.UNIT = 0.25;
    st.LAMBDA(1) = 0.35;
    for (int c = 0; c < K; ++c) {
        const double t = c == 0 ? 0.0 : -0.3 * (M + 1 - 2 * c) + 0.05 * (c % 3);
        st.TAUC(c) = t;
        st.TAU(1, c) = (model == 1 || model == 2 || model == 5 || model == 6) ? 3.0 : t - 0.1;
    }
}

double info(PlotRun& r, int model, int K, double theta) {
    r.job->MODEL = model, r.job->NITEM = 1, r.job->NCAT(1) = K;
    return SUBINFO(r.io, r.fitted(), 1, theta);
}

TEST(Subinfo, EqualsSquaredScoreOfTheProbabilitiesAndVanishesAtTheItem) {
    PlotRun r;
    Store& st = *r.st;
    const double h = 1e-5;  // central differences: truncation and rounding both near 1e-10
    for (int model = 1; model <= 8; ++model) {
        for (int K : {2, 3, 6, 10}) {
            set_item(st, model, K, 0.3, 1.7);
            for (double theta : {-4.0, -2.35, -0.6, 0.1, 0.31, 1.9, 4.0}) {
                double p[MAXCAT], up[MAXCAT], dn[MAXCAT];
                ModelValues mv;
                GPM(mv, st, model, 1, K, st.UNIT, st.TAUC, theta + h);
                for (int c = 0; c < K; ++c) up[c] = mv.PROB(c);
                GPM(mv, st, model, 1, K, st.UNIT, st.TAUC, theta - h);
                for (int c = 0; c < K; ++c) dn[c] = mv.PROB(c);
                GPM(mv, st, model, 1, K, st.UNIT, st.TAUC, theta);
                for (int c = 0; c < K; ++c) p[c] = mv.PROB(c);
                double expected = 0.0;
                for (int c = 0; c < K; ++c) expected += std::pow((up[c] - dn[c]) / (2 * h), 2) / p[c];
                EXPECT_NEAR_REL(info(r, model, K, theta), expected, 1e-5, 1e-7)
                    << "model " << model << " K " << K << " theta " << theta;
            }
            EXPECT_LT(info(r, model, K, st.DELTA(1)), 1e-24) << "model " << model << " K " << K;
        }
    }
}

TEST(Subinfo, StaysFiniteAndNonNegativeFarFromTheItem) {
    PlotRun r;
    for (int model = 1; model <= 8; ++model) {
        for (double delta : {-3.9, 0.0, 3.9}) {
            set_item(*r.st, model, 10, delta, 6.0);
            for (double theta : theta_grid()) {
                const double x = info(r, model, 10, theta);
                EXPECT_TRUE(std::isfinite(x) && x >= 0.0) << "model " << model << " theta " << theta << ": " << x;
            }
        }
    }
}

}  // namespace
}  // namespace vorm::test
