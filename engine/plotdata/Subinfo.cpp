// Fisher information of one item at one theta.
//
// With M = 2K - 1, d = theta - DELTA, a the discrimination (1 without one) and
// S(c) the sum of the item's thresholds 0..c, category c has the two terms
// X(c) = exp(a (c d - S(c))) and Y(c) = exp(a ((M - c) d - S(c))), and the
// derivative of ln P(c) by theta is a (G(c) - Gbar), where
// G(c) = (c X(c) + (M - c) Y(c)) / (X(c) + Y(c)) and Gbar = sum of P(c) G(c).
// The information is the expected square of that derivative.
//
// For the unit models the sums S(c) are built here from the unit parameter in
// use (S(c) = -lambda c (M - c)), not read from the threshold rows in the
// store, which for these models hold no estimate during the plot stage; so
// the terms are exactly the model's own and the probabilities P(c) of the
// model routine belong to the same parameters.
#include <cmath>

#include "model/Probm.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotmodel.h"
#include "plotdata/Plotpair.h"

namespace vorm {

namespace {

// G(c) from the exponents u = a (c d - S) and v = a ((M - c) d - S).  Both
// terms are lowered by the larger exponent only when the plain terms would
// overflow or vanish; G is a ratio and does not change.
double category_mean(int c, int M, double u, double v) {
    double x = std::exp(u), y = std::exp(v);
    const double w = x + y;
    if (!(w >= 0x1p-969 && w <= 0x1p1000)) {
        const double m = u > v ? u : v;
        x = std::exp(u - m);
        y = std::exp(v - m);
    }
    return (c * x + (M - c) * y) / (x + y);
}

}  // namespace

void SUBINFO(Io& io, Store& st, int MODEL, int K, double UNIT, const CatReals& TAUC, int I, double theta,
             double& INFO) {
    const PlotModel pm = plot_model(MODEL);
    if (!pm.valid)
        plot_stop(io, format_free({"Error model while calculating information function."}),
                  format_free({"Error model while calculating information function."}));
    const int M = 2 * K - 1;
    const double d = theta - st.DELTA(I);
    const double a = pm.alpha ? st.ALPHA(I) : 1.0;
    const double lam = pm.common ? UNIT : st.LAMBDA(I);

    double G[MAXCAT];
    double S = 0.0;
    for (int c = 0; c < K; ++c) {
        if (pm.unit) {
            S = -(lam * c * (M - c));
        } else {
            S = S + (pm.common ? TAUC(c) : st.TAU(I, c));
        }
        G[c] = category_mean(c, M, a * (c * d - S), a * ((M - c) * d - S));
    }

    GPM(st, MODEL, I, K, UNIT, TAUC, theta);
    double gbar = 0.0;
    for (int c = 0; c < K; ++c) gbar += st.PROB(c) * G[c];
    // A sum of squares: the form through second derivatives subtracts nearly
    // equal sums and leaves rounding residue of either sign near theta = DELTA.
    double sum = 0.0;
    for (int c = 0; c < K; ++c) sum += st.PROB(c) * (G[c] - gbar) * (G[c] - gbar);
    INFO = a * a * sum;
}

}  // namespace vorm
