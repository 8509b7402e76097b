// Fisher information of one item at one theta.
//
// With M = 2K - 1, d = theta - DELTA, a the discrimination (1 without one) and
// S(c) the sum of the item's thresholds 0..c, category c has the two terms
// X(c) = exp(a (c d - S(c))) and Y(c) = exp(a ((M - c) d - S(c))), and the
// derivative of ln P(c) by theta is a (G(c) - Gbar), where
// G(c) = (c X(c) + (M - c) Y(c)) / (X(c) + Y(c)) and Gbar = sum of P(c) G(c).
// The information is the expected square of that derivative.
//
// The factor exp(-a S(c)) is common to both terms of a category and cancels
// in G(c): the item's thresholds, or the unit parameter of models 1, 2, 5 and
// 6, enter only through the probabilities P(c) of the model's own routine.
#include <cmath>

#include "model/Evaluate.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

double SUBINFO(Io& io, const FittedModel& fm, int I, double theta) {
    const ModelTraits& pm = model_traits(fm.MODEL);
    if (!pm.valid) plot_stop(io, "Error model while calculating information function.");
    const ItemParameters& p = fm.item(I);
    const int K = p.K;
    const int M = 2 * K - 1;
    const double d = theta - p.delta;
    const double a = pm.discrimination ? p.alpha : 1.0;

    double G[MAXCAT];
    for (int c = 0; c < K; ++c) {
        // Both exponents lowered by the larger one: the ratio G is unchanged,
        // and neither term can overflow however far theta is from the item.
        const double u = a * (c * d), v = a * ((M - c) * d);
        const double top = u > v ? u : v;
        const double x = std::exp(u - top), y = std::exp(v - top);
        G[c] = (c * x + (M - c) * y) / (x + y);
    }

    ModelValues mv;
    evaluate_point(mv, fm.MODEL, PROBABILITIES, p, theta);
    double gbar = 0.0;
    for (int c = 0; c < K; ++c) gbar += mv.PROB(c) * G[c];
    // A sum of squares: the form through second derivatives subtracts nearly
    // equal sums and leaves rounding residue of either sign near theta = DELTA.
    double sum = 0.0;
    for (int c = 0; c < K; ++c) sum += mv.PROB(c) * (G[c] - gbar) * (G[c] - gbar);
    return a * a * sum;
}

}  // namespace vorm
