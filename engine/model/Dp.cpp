#include "model/Dp.h"

#include "model/Weights.h"

namespace vorm {

namespace {

using namespace model_detail;

enum class By { Alpha, Delta, Lambda };

// Quotient rule for P(c) = w(c) / D with the exponents lowered by `shift`
// (0 on the plain path; a common factor leaves the ratio unchanged).  False
// when a result is not finite, so that the caller can retry with a shift.
template <By X>
bool quotient(int K, double a, const double* E, double d, const double* u, const double* v, double shift, double* res) {
    const int M = 2 * K - 1;
    double T1[MAXCAT], T2[MAXCAT], w[MAXCAT], wp[MAXCAT];
    terms(K, u, v, shift, T1, T2);
    double D = 0.0, Dp = 0.0;
    for (int c = 0; c < K; ++c) {
        double du, dv;
        if constexpr (X == By::Alpha) {
            du = E[c] + c * d;
            dv = E[c] + (M - c) * d;
        } else if constexpr (X == By::Delta) {
            du = -a * c;
            dv = -a * (M - c);
        } else {
            du = a * c * (M - c);
            dv = du;
        }
        w[c] = T1[c] + T2[c];
        wp[c] = T1[c] * du + T2[c] * dv;
        D += w[c];
        Dp += wp[c];
    }
    if (!plain_deriv_ok(D)) return false;
    const double r = 1.0 / (D * D);
    double check = 0.0;
    for (int c = 0; c < K; ++c) {
        res[c] = (D * wp[c] - w[c] * Dp) * r;
        check += res[c];
    }
    return std::isfinite(check);
}

template <By X, class Out>
void deriv_core(int K, double a, const double* E, double d, Out&& out) {
    double u[MAXCAT] = {}, v[MAXCAT] = {}, res[MAXCAT];  // cleared only to quiet a false warning
    exponents(K, a, E, d, u, v);
    if (!quotient<X>(K, a, E, d, u, v, 0.0, res)) quotient<X>(K, a, E, d, u, v, largest_exponent(K, u, v), res);
    for (int c = 0; c < K; ++c) out(c, res[c]);
}

template <By X, class Out>
void deriv_unit(Store& st, int i, int K, double a, double lam, double theta, Out&& out) {
    if (!categories_ok(K)) return;
    double E[MAXCAT];
    unit_terms(K, lam, E);
    deriv_core<X>(K, a, E, theta - st.DELTA(i), out);
}

template <By X, class Tau, class Out>
void deriv_threshold(Store& st, int i, int K, double a, const Tau& tau, double theta, Out&& out) {
    if (!categories_ok(K)) return;
    double E[MAXCAT];
    threshold_terms(K, tau, E);
    deriv_core<X>(K, a, E, theta - st.DELTA(i), out);
}

// dP(c)/dtau(k) = -(a [k <= c] D + V(k)) w(c) / D^2 with V(k) = -a (w(k) + ... + w(K-1)).
bool tau_quotient(int K, double a, const double* u, const double* v, double shift, double (*res)[MAXCAT]) {
    double T1[MAXCAT], T2[MAXCAT], w[MAXCAT];
    terms(K, u, v, shift, T1, T2);
    double D = 0.0;
    for (int c = 0; c < K; ++c) {
        w[c] = T1[c] + T2[c];
        D += w[c];
    }
    if (!plain_deriv_ok(D)) return false;
    const double D2 = D * D;
    double check = 0.0;
    for (int k = 1; k < K; ++k) {
        double tail = 0.0;
        for (int c = k; c < K; ++c) tail += w[c];
        const double V = -a * tail;
        for (int c = 0; c < K; ++c) {
            const double ind = k <= c ? 1.0 : 0.0;
            res[k][c] = -(a * ind * D + V) * w[c] / D2;
            check += res[k][c];
        }
    }
    return std::isfinite(check);
}

template <class Tau>
void deriv_tau(Store& st, int i, int K, double a, const Tau& tau, double theta) {
    if (K - 1 < 1 || !categories_ok(K)) return;        // K = 1: no free threshold
    double E[MAXCAT], u[MAXCAT] = {}, v[MAXCAT] = {};  // cleared only to quiet a false warning
    double res[MAXCAT][MAXCAT];
    threshold_terms(K, tau, E);
    exponents(K, a, E, theta - st.DELTA(i), u, v);
    if (!tau_quotient(K, a, u, v, 0.0, res)) tau_quotient(K, a, u, v, largest_exponent(K, u, v), res);
    for (int k = 1; k < K; ++k)
        for (int c = 0; c < K; ++c) st.DPLT(k, c) = res[k][c];
}

auto alpha_row(Store& st) {
    return [&st](int c, double x) { st.DPAD(1, c) = x; };
}
auto delta_row(Store& st) {
    return [&st](int c, double x) { st.DPAD(2, c) = x; };
}
auto lambda_row(Store& st) {
    return [&st](int c, double x) { st.DPLT(1, c) = x; };
}

}  // namespace

void DPALP5(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    deriv_unit<By::Alpha>(st, i, K, st.ALPHA(i), UNIT, theta[q - 1], alpha_row(st));
}
void DPALP6(Store& st, int q, int i, int K, const double* theta) {
    deriv_unit<By::Alpha>(st, i, K, st.ALPHA(i), st.LAMBDA(i), theta[q - 1], alpha_row(st));
}
void DPALP7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    deriv_threshold<By::Alpha>(st, i, K, st.ALPHA(i), CommonTau{TAUC}, theta[q - 1], alpha_row(st));
}
void DPALP8(Store& st, int q, int i, int K, const double* theta) {
    deriv_threshold<By::Alpha>(st, i, K, st.ALPHA(i), ItemTau{st, i}, theta[q - 1], alpha_row(st));
}

void DPDEL1(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    deriv_unit<By::Delta>(st, i, K, 1.0, UNIT, theta[q - 1], delta_row(st));
}
void DPDEL2(Store& st, int q, int i, int K, const double* theta) {
    deriv_unit<By::Delta>(st, i, K, 1.0, st.LAMBDA(i), theta[q - 1], delta_row(st));
}
void DPDEL3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    deriv_threshold<By::Delta>(st, i, K, 1.0, CommonTau{TAUC}, theta[q - 1], delta_row(st));
}
void DPDEL4(Store& st, int q, int i, int K, const double* theta) {
    deriv_threshold<By::Delta>(st, i, K, 1.0, ItemTau{st, i}, theta[q - 1], delta_row(st));
}
void DPDEL5(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    deriv_unit<By::Delta>(st, i, K, st.ALPHA(i), UNIT, theta[q - 1], delta_row(st));
}
void DPDEL6(Store& st, int q, int i, int K, const double* theta) {
    deriv_unit<By::Delta>(st, i, K, st.ALPHA(i), st.LAMBDA(i), theta[q - 1], delta_row(st));
}
void DPDEL7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    deriv_threshold<By::Delta>(st, i, K, st.ALPHA(i), CommonTau{TAUC}, theta[q - 1], delta_row(st));
}
void DPDEL8(Store& st, int q, int i, int K, const double* theta) {
    deriv_threshold<By::Delta>(st, i, K, st.ALPHA(i), ItemTau{st, i}, theta[q - 1], delta_row(st));
}

void DPLAM1(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    deriv_unit<By::Lambda>(st, i, K, 1.0, UNIT, theta[q - 1], lambda_row(st));
}
void DPLAM2(Store& st, int q, int i, int K, const double* theta) {
    deriv_unit<By::Lambda>(st, i, K, 1.0, st.LAMBDA(i), theta[q - 1], lambda_row(st));
}
void DPLAM5(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    deriv_unit<By::Lambda>(st, i, K, st.ALPHA(i), UNIT, theta[q - 1], lambda_row(st));
}
void DPLAM6(Store& st, int q, int i, int K, const double* theta) {
    deriv_unit<By::Lambda>(st, i, K, st.ALPHA(i), st.LAMBDA(i), theta[q - 1], lambda_row(st));
}

void DPTAU3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    deriv_tau(st, i, K, 1.0, CommonTau{TAUC}, theta[q - 1]);
}
void DPTAU4(Store& st, int q, int i, int K, const double* theta) {
    deriv_tau(st, i, K, 1.0, ItemTau{st, i}, theta[q - 1]);
}
void DPTAU7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    deriv_tau(st, i, K, st.ALPHA(i), CommonTau{TAUC}, theta[q - 1]);
}
void DPTAU8(Store& st, int q, int i, int K, const double* theta) {
    deriv_tau(st, i, K, st.ALPHA(i), ItemTau{st, i}, theta[q - 1]);
}

bool DPDEL(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    switch (model) {
        case 1:
            DPDEL1(st, q, i, K, UNIT, theta);
            return true;
        case 2:
            DPDEL2(st, q, i, K, theta);
            return true;
        case 3:
            DPDEL3(st, q, i, K, TAUC, theta);
            return true;
        case 4:
            DPDEL4(st, q, i, K, theta);
            return true;
        case 5:
            DPDEL5(st, q, i, K, UNIT, theta);
            return true;
        case 6:
            DPDEL6(st, q, i, K, theta);
            return true;
        case 7:
            DPDEL7(st, q, i, K, TAUC, theta);
            return true;
        case 8:
            DPDEL8(st, q, i, K, theta);
            return true;
        default:
            return false;
    }
}

bool DPALP(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    switch (model) {
        case 5:
            DPALP5(st, q, i, K, UNIT, theta);
            return true;
        case 6:
            DPALP6(st, q, i, K, theta);
            return true;
        case 7:
            DPALP7(st, q, i, K, TAUC, theta);
            return true;
        case 8:
            DPALP8(st, q, i, K, theta);
            return true;
        default:
            return false;
    }
}

bool DPLAM(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    (void)TAUC;
    switch (model) {
        case 1:
            DPLAM1(st, q, i, K, UNIT, theta);
            return true;
        case 2:
            DPLAM2(st, q, i, K, theta);
            return true;
        case 5:
            DPLAM5(st, q, i, K, UNIT, theta);
            return true;
        case 6:
            DPLAM6(st, q, i, K, theta);
            return true;
        default:
            return false;
    }
}

bool DPTAU(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    (void)UNIT;
    switch (model) {
        case 3:
            DPTAU3(st, q, i, K, TAUC, theta);
            return true;
        case 4:
            DPTAU4(st, q, i, K, theta);
            return true;
        case 7:
            DPTAU7(st, q, i, K, TAUC, theta);
            return true;
        case 8:
            DPTAU8(st, q, i, K, theta);
            return true;
        default:
            return false;
    }
}

}  // namespace vorm
