// Pieces shared by the category-probability and derivative routines.
//
// Every weight of the model is w(c) = exp(u(c)) + exp(v(c)) with
// u(c) = a (E(c) + c d) and v(c) = a (E(c) + (M - c) d), M = 2K - 1,
// d = theta - delta.  All arrays here are indexed by category 0..K-1 with
// 1 <= K <= MAXCAT, and live on the caller's stack (no allocation).
//
// The formulas are evaluated as written.  Only when the plain sum of the
// weights leaves the range in which the written formula is accurate is the
// evaluation repeated with every exponent lowered by the largest one; the
// ratios of the model do not change under a common factor of the weights.
#pragma once

#include <cassert>
#include <cmath>

#include "driver/Store.h"

namespace vorm::model_detail {

// Probabilities: the reciprocal 1/W must stay a normal number, and a weight
// that underflowed on its own must not matter: a subnormal weight carries an
// error below 2^-1074, which is below rounding once W >= 2^-969.
constexpr double kSumLow = 0x1p-969;
constexpr double kSumHigh = 0x1p1022;
// Derivatives divide by D^2, and D w'(c) must not overflow either.
constexpr double kDerivLow = 0x1p-480;
constexpr double kDerivHigh = 0x1p480;

// K < 1 is a call without effect; K above the capacity of PROB, DPAD and
// DPLT is refused the same way instead of writing past them.
inline bool categories_ok(int K) {
    assert(K <= MAXCAT);
    return K >= 1 && K <= MAXCAT;
}

inline bool plain_sum_ok(double W) { return W >= kSumLow && W <= kSumHigh; }  // false for NaN
inline bool plain_deriv_ok(double D) { return D >= kDerivLow && D <= kDerivHigh; }

// Unit models: E(c) = lambda c (M - c).
inline void unit_terms(int K, double lam, double* E) {
    const int M = 2 * K - 1;
    for (int c = 0; c < K; ++c) E[c] = lam * c * (M - c);
}

// Threshold models: E(c) = -S(c), S the running sums of tau(0..c) in
// ascending order; tau(0) enters every sum.
template <class Tau>
inline void threshold_terms(int K, const Tau& tau, double* E) {
    double S = tau(0);
    E[0] = -S;
    for (int j = 1; j < K; ++j) {
        S = S + tau(j);
        E[j] = -S;
    }
}

// The thresholds of the common-threshold models and of one item's own row.
struct CommonTau {
    const CatReals& t;
    double operator()(int j) const { return t(j); }
};
struct ItemTau {
    const Store& st;
    int i;
    double operator()(int j) const { return st.TAU(i, j); }
};

inline void exponents(int K, double a, const double* E, double d, double* u, double* v) {
    const int M = 2 * K - 1;
    for (int c = 0; c < K; ++c) {
        u[c] = a * (E[c] + c * d);
        v[c] = a * (E[c] + (M - c) * d);
    }
}

inline double largest_exponent(int K, const double* u, const double* v) {
    double m = u[0];
    for (int c = 0; c < K; ++c) {
        if (u[c] > m) m = u[c];
        if (v[c] > m) m = v[c];
    }
    return m;
}

// The two terms of every weight with the exponents lowered by `shift`
// (0 on the plain path, where exp(u - 0) is exp(u) exactly).
inline void terms(int K, const double* u, const double* v, double shift, double* T1, double* T2) {
    for (int c = 0; c < K; ++c) {
        T1[c] = std::exp(u[c] - shift);
        T2[c] = std::exp(v[c] - shift);
    }
}

}  // namespace vorm::model_detail
