#include "model/Getqua.h"

#include <cmath>
#include <stdexcept>

namespace vorm {

void GETQUA(QuadReals& XQUAD, QuadReals& WQUAD, double& XMEAN, int n, double& XSD) {
    if (n > MAXQUAD) throw std::invalid_argument("GETQUA: the number of points exceeds 50");
    XMEAN = 0.0;
    XSD = 0.0;
    if (n < 1) return;
    if (n == 1) {
        // A single point stands for the whole distribution: every weighted sum
        // over the grid becomes a plain evaluation at the centre of the range.
        XQUAD(1) = 0.0;
        WQUAD(1) = 1.0;
        return;
    }
    // The density factor cancels in the normalisation; it stays so that the
    // unnormalised weights are density values.
    constexpr double kDensity = 0.3989422748506426;
    const double h = 8.0 / (n - 1);
    double S = 0.0;
    for (int k = 1; k <= n; ++k) {
        const double x = (k - 1) * h - 4.0;
        S += kDensity * std::exp(-(x * x) * 0.5);
    }
    for (int k = 1; k <= n; ++k) {
        const double x = (k - 1) * h - 4.0;
        WQUAD(k) = kDensity * std::exp(-(x * x) * 0.5);
        XQUAD(k) = x;  // from k, not by adding h: no rounding builds up along the grid
    }
    const double r = 1.0 / S;
    double mean = 0.0;
    for (int k = 1; k <= n; ++k) {
        WQUAD(k) = WQUAD(k) * r;
        mean += XQUAD(k) * WQUAD(k);
    }
    double var = 0.0;
    for (int k = 1; k <= n; ++k) {
        const double dx = XQUAD(k) - mean;
        var += WQUAD(k) * (dx * dx);
    }
    XMEAN = mean;
    XSD = std::sqrt(var);
}

}  // namespace vorm
