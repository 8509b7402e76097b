#include "model/Evaluate.h"

#include <cassert>
#include <cmath>

#include "model/Traits.h"

namespace vorm {

namespace {

// Probabilities: the reciprocal 1/W must stay a normal number, and a weight
// that underflowed on its own must not matter: a subnormal weight carries an
// error below 2^-1074, which is below rounding once W >= 2^-969.
constexpr double kSumLow = 0x1p-969;
constexpr double kSumHigh = 0x1p1022;
// Derivatives divide by D^2, and D w'(c) must not overflow either.
constexpr double kDerivLow = 0x1p-480;
constexpr double kDerivHigh = 0x1p480;

bool plain_sum_ok(double W) { return W >= kSumLow && W <= kSumHigh; }  // false for NaN
bool plain_deriv_ok(double D) { return D >= kDerivLow && D <= kDerivHigh; }

// Whether the sum of the results, taken in the order in which `each` hands
// them to its argument, is finite.  The sum is formed only when some result is
// large enough that it might overflow (or is not finite): up to 100 results of
// at most 2^1016 never can, and the decision is the sum's either way.
template <class Each>
bool sum_is_finite(Each each) {
    bool small = true;
    each([&small](double x) { small &= std::fabs(x) <= 0x1p1016; });
    if (small) return true;
    double sum = 0.0;
    each([&sum](double x) { sum += x; });
    return std::isfinite(sum);
}

// The two terms of every weight, their sums w(c) and the total W (summed in
// ascending c), with the exponents lowered by `shift` (0 on the plain path,
// where exp(u - 0) is exp(u) exactly).
struct Terms {
    double T1[MAXCAT], T2[MAXCAT], w[MAXCAT];
    double W;
};

class Point {
public:
    Point(int K, double a, const double* E, double d) : K_(K), a_(a), E_(E), d_(d) {
        const int M = 2 * K - 1;
        for (int c = 0; c < K; ++c) {
            u_[c] = a * (E[c] + c * d);
            v_[c] = a * (E[c] + (M - c) * d);
        }
        fill(0.0, plain_);
    }

    void probabilities(ModelValues& out) {
        const Terms& t = plain_sum_ok(plain_.W) ? plain_ : lowered();
        const double r = 1.0 / t.W;
        for (int c = 0; c < K_; ++c) out.PROB(c) = t.w[c] * r;
    }

    // Quotient rule for P(c) = w(c) / D by alpha, delta or lambda, into
    // res(c) for c = 0..K-1.
    void derivative(ModelResult by, double* res) {
        if (!plain_deriv_ok(plain_.W) || !quotient(by, plain_, res)) quotient(by, lowered(), res);
    }

    // dP(c)/dtau(k) = -(a [k <= c] D + V(k)) w(c) / D^2, V(k) = -a (w(k) + ... + w(K-1)),
    // into DPLT(k, c) for k = 1..K-1.
    void threshold_derivatives(ModelValues& out) {
        if (!plain_deriv_ok(plain_.W) || !tau_quotient(plain_, out)) tau_quotient(lowered(), out);
    }

private:
    void fill(double shift, Terms& t) const {
        t.W = 0.0;
        for (int c = 0; c < K_; ++c) {
            t.T1[c] = std::exp(u_[c] - shift);
            t.T2[c] = std::exp(v_[c] - shift);
            t.w[c] = t.T1[c] + t.T2[c];
            t.W += t.w[c];
        }
    }

    // The terms with every exponent lowered by the largest, formed at most once.
    const Terms& lowered() {
        if (!have_lowered_) {
            double m = u_[0];
            for (int c = 0; c < K_; ++c) {
                if (u_[c] > m) m = u_[c];
                if (v_[c] > m) m = v_[c];
            }
            fill(m, lowered_);
            have_lowered_ = true;
        }
        return lowered_;
    }

    // False when a result is not finite, so that the plain path can be retried lowered.
    bool quotient(ModelResult by, const Terms& t, double* res) const {
        const int M = 2 * K_ - 1;
        const double a = a_, d = d_;
        double wp[MAXCAT];
        double Dp = 0.0;
        for (int c = 0; c < K_; ++c) {
            double du, dv;
            if (by == BY_ALPHA) {
                du = E_[c] + c * d;
                dv = E_[c] + (M - c) * d;
            } else if (by == BY_DELTA) {
                du = -a * c;
                dv = -a * (M - c);
            } else {
                du = a * c * (M - c);
                dv = du;
            }
            wp[c] = t.T1[c] * du + t.T2[c] * dv;
            Dp += wp[c];
        }
        const double D = t.W;
        const double r = 1.0 / (D * D);
        for (int c = 0; c < K_; ++c) res[c] = (D * wp[c] - t.w[c] * Dp) * r;
        return sum_is_finite([this, res](auto&& f) {
            for (int c = 0; c < K_; ++c) f(res[c]);
        });
    }

    bool tau_quotient(const Terms& t, ModelValues& out) const {
        const double a = a_;
        const double D = t.W;
        const double D2 = D * D;
        for (int k = 1; k < K_; ++k) {
            double tail = 0.0;
            for (int c = k; c < K_; ++c) tail += t.w[c];
            const double V = -a * tail;
            for (int c = 0; c < K_; ++c) {
                const double ind = k <= c ? 1.0 : 0.0;
                out.DPLT(k, c) = -(a * ind * D + V) * t.w[c] / D2;
            }
        }
        return sum_is_finite([this, &out](auto&& f) {
            for (int k = 1; k < K_; ++k)
                for (int c = 0; c < K_; ++c) f(out.DPLT(k, c));
        });
    }

    int K_;
    double a_;
    const double* E_;
    double d_;
    double u_[MAXCAT], v_[MAXCAT];
    Terms plain_, lowered_;
    bool have_lowered_ = false;
};

// Category terms.  Unit models: E(c) = lambda c (M - c).  Threshold models:
// E(c) = -S(c), S the running sums of tau(0..c) in ascending order; tau(0)
// enters every sum.
void unit_terms(int K, double lam, double* E) {
    const int M = 2 * K - 1;
    for (int c = 0; c < K; ++c) E[c] = lam * c * (M - c);
}

template <class Tau>
void threshold_terms(int K, const Tau& tau, double* E) {
    double S = tau(0);
    E[0] = -S;
    for (int j = 1; j < K; ++j) {
        S = S + tau(j);
        E[j] = -S;
    }
}

}  // namespace

bool evaluate_point(ModelValues& out, int model, unsigned results, const ItemParameters& p, double theta) {
    const ModelTraits& m = model_traits(model);
    if (!m.valid) return false;
    const int K = p.K;
    // K above the capacity of PROB, DPAD and DPLT is refused like K < 1
    // instead of writing past them.
    assert(K <= MAXCAT);
    if (K < 1 || K > MAXCAT) return true;

    double E[MAXCAT];
    if (m.unit)
        unit_terms(K, p.lambda, E);
    else
        threshold_terms(
            K, [&p](int j) { return p.tau[j]; }, E);
    Point pt(K, m.discrimination ? p.alpha : 1.0, E, theta - p.delta);

    double res[MAXCAT];
    if (results & PROBABILITIES) pt.probabilities(out);
    if ((results & BY_ALPHA) && m.discrimination) {
        pt.derivative(BY_ALPHA, res);
        for (int c = 0; c < K; ++c) out.DPAD(1, c) = res[c];
    }
    if (results & BY_DELTA) {
        pt.derivative(BY_DELTA, res);
        for (int c = 0; c < K; ++c) out.DPAD(2, c) = res[c];
    }
    if ((results & BY_UNIT) && m.unit) {
        pt.derivative(BY_UNIT, res);
        for (int c = 0; c < K; ++c) out.DPLT(1, c) = res[c];
    }
    if ((results & BY_THRESHOLDS) && !m.unit) pt.threshold_derivatives(out);
    return true;
}

}  // namespace vorm
