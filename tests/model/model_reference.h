// An independent evaluation of the model for the tests: log-weights in long
// double, normalised on the log scale, read from the same store.
#pragma once

#include <cmath>
#include <memory>

#include "common/Store.h"

namespace vorm::test {

inline long double log_add(long double x, long double y) {
    long double m = x > y ? x : y;
    return m + std::log(std::exp(x - m) + std::exp(y - m));
}

// lp[c] = ln P(c), c = 0..K-1, for model 1..8.
inline void reference_log_prob(int model, const Store& st, int i, int K, double unit, const CatReals& tauc,
                               double theta, long double* lp) {
    const bool unit_model = model == 1 || model == 2 || model == 5 || model == 6;
    const long double a = model >= 5 ? st.ALPHA(i) : 1.0L;
    const long double lam = (model == 1 || model == 5) ? unit : st.LAMBDA(i);
    const long double d = static_cast<long double>(theta) - st.DELTA(i);
    const int M = 2 * K - 1;
    long double S = 0, lw[10], total = -INFINITY;
    for (int c = 0; c < K; ++c) {
        S += (model == 3 || model == 7) ? tauc(c) : st.TAU(i, c);
        long double E = unit_model ? lam * c * (M - c) : -S;
        lw[c] = log_add(a * (E + c * d), a * (E + (M - c) * d));
        total = c == 0 ? lw[0] : log_add(total, lw[c]);
    }
    for (int c = 0; c < K; ++c) lp[c] = lw[c] - total;
}

// dP(c)/dx for x = alpha (kind 0), delta (1), lambda (2) or tau(k) (3), from
// d ln w(c)/dx = s du + (1 - s) dv with s = exp(u) / (exp(u) + exp(v)).
inline void reference_dprob(int model, const Store& st, int i, int K, double unit, const CatReals& tauc, double theta,
                            int kind, int k, long double* dp) {
    const bool unit_model = model == 1 || model == 2 || model == 5 || model == 6;
    const long double a = model >= 5 ? st.ALPHA(i) : 1.0L;
    const long double lam = (model == 1 || model == 5) ? unit : st.LAMBDA(i);
    const long double d = static_cast<long double>(theta) - st.DELTA(i);
    const int M = 2 * K - 1;
    long double lp[10], g[10], S = 0, gbar = 0;
    reference_log_prob(model, st, i, K, unit, tauc, theta, lp);
    for (int c = 0; c < K; ++c) {
        S += (model == 3 || model == 7) ? tauc(c) : st.TAU(i, c);
        long double E = unit_model ? lam * c * (M - c) : -S;
        long double u = a * (E + c * d), v = a * (E + (M - c) * d), du, dv;
        long double s = u > v ? 1 / (1 + std::exp(v - u)) : std::exp(u - v) / (1 + std::exp(u - v));
        switch (kind) {
            case 0:
                du = E + c * d;
                dv = E + (M - c) * d;
                break;
            case 1:
                du = -a * c;
                dv = -a * (M - c);
                break;
            case 2:
                du = dv = a * c * (M - c);
                break;
            default:
                du = dv = k <= c ? -a : 0;
                break;
        }
        g[c] = s * du + (1 - s) * dv;
        gbar += std::exp(lp[c]) * g[c];
    }
    for (int c = 0; c < K; ++c) dp[c] = std::exp(lp[c]) * (g[c] - gbar);
}

// A store with items 1..3 of distinct, ordinary parameters.
inline std::unique_ptr<Store> sample_store() {
    auto st = std::make_unique<Store>();
    const double delta[] = {0.3, -1.1, 1.8}, alpha[] = {1.7, 0.6, 1.2}, lambda[] = {0.35, -0.4, 0.1};
    for (int i = 1; i <= 3; ++i) {
        st->DELTA(i) = delta[i - 1];
        st->ALPHA(i) = alpha[i - 1];
        st->LAMBDA(i) = lambda[i - 1];
        for (int k = 1; k < MAXCAT; ++k) st->TAU(i, k) = 0.9 * std::sin(1.3 * k + i) - 0.2 * i;
    }
    for (int k = 1; k < MAXCAT; ++k) st->TAUC(k) = 0.7 * std::cos(0.9 * k) + 0.1;
    st->UNIT = 0.25;
    return st;
}

}  // namespace vorm::test
