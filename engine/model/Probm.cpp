#include "model/Probm.h"

#include "model/Weights.h"

namespace vorm {

namespace {

using namespace model_detail;

void prob_core(Store& st, int K, double a, const double* E, double d) {
    double u[MAXCAT], v[MAXCAT], T1[MAXCAT], T2[MAXCAT], w[MAXCAT];
    exponents(K, a, E, d, u, v);
    terms(K, u, v, 0.0, T1, T2);
    double W = 0.0;
    for (int c = 0; c < K; ++c) {
        w[c] = T1[c] + T2[c];
        W += w[c];
    }
    if (!plain_sum_ok(W)) {
        terms(K, u, v, largest_exponent(K, u, v), T1, T2);
        W = 0.0;
        for (int c = 0; c < K; ++c) {
            w[c] = T1[c] + T2[c];
            W += w[c];
        }
    }
    const double r = 1.0 / W;
    for (int c = 0; c < K; ++c) st.PROB(c) = w[c] * r;
}

void prob_unit(Store& st, int i, int K, double a, double lam, double theta) {
    if (!categories_ok(K)) return;
    double E[MAXCAT];
    unit_terms(K, lam, E);
    prob_core(st, K, a, E, theta - st.DELTA(i));
}

template <class Tau>
void prob_threshold(Store& st, int i, int K, double a, const Tau& tau, double theta) {
    if (!categories_ok(K)) return;
    double E[MAXCAT];
    threshold_terms(K, tau, E);
    prob_core(st, K, a, E, theta - st.DELTA(i));
}

}  // namespace

void GPM1(Store& st, int i, int K, double UNIT, double theta) { prob_unit(st, i, K, 1.0, UNIT, theta); }
void GPM2(Store& st, int i, int K, double theta) { prob_unit(st, i, K, 1.0, st.LAMBDA(i), theta); }
void GPM3(Store& st, int i, int K, const CatReals& TAUC, double theta) {
    prob_threshold(st, i, K, 1.0, CommonTau{TAUC}, theta);
}
void GPM4(Store& st, int i, int K, double theta) { prob_threshold(st, i, K, 1.0, ItemTau{st, i}, theta); }
void GPM5(Store& st, int i, int K, double UNIT, double theta) { prob_unit(st, i, K, st.ALPHA(i), UNIT, theta); }
void GPM6(Store& st, int i, int K, double theta) { prob_unit(st, i, K, st.ALPHA(i), st.LAMBDA(i), theta); }
void GPM7(Store& st, int i, int K, const CatReals& TAUC, double theta) {
    prob_threshold(st, i, K, st.ALPHA(i), CommonTau{TAUC}, theta);
}
void GPM8(Store& st, int i, int K, double theta) { prob_threshold(st, i, K, st.ALPHA(i), ItemTau{st, i}, theta); }

void PROBM1(Store& st, int q, int i, int K, double UNIT, const double* theta) { GPM1(st, i, K, UNIT, theta[q - 1]); }
void PROBM2(Store& st, int q, int i, int K, const double* theta) { GPM2(st, i, K, theta[q - 1]); }
void PROBM3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    GPM3(st, i, K, TAUC, theta[q - 1]);
}
void PROBM4(Store& st, int q, int i, int K, const double* theta) { GPM4(st, i, K, theta[q - 1]); }
void PROBM5(Store& st, int q, int i, int K, double UNIT, const double* theta) { GPM5(st, i, K, UNIT, theta[q - 1]); }
void PROBM6(Store& st, int q, int i, int K, const double* theta) { GPM6(st, i, K, theta[q - 1]); }
void PROBM7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    GPM7(st, i, K, TAUC, theta[q - 1]);
}
void PROBM8(Store& st, int q, int i, int K, const double* theta) { GPM8(st, i, K, theta[q - 1]); }

bool GPM(Store& st, int model, int i, int K, double UNIT, const CatReals& TAUC, double theta) {
    switch (model) {
        case 1:
            GPM1(st, i, K, UNIT, theta);
            return true;
        case 2:
            GPM2(st, i, K, theta);
            return true;
        case 3:
            GPM3(st, i, K, TAUC, theta);
            return true;
        case 4:
            GPM4(st, i, K, theta);
            return true;
        case 5:
            GPM5(st, i, K, UNIT, theta);
            return true;
        case 6:
            GPM6(st, i, K, theta);
            return true;
        case 7:
            GPM7(st, i, K, TAUC, theta);
            return true;
        case 8:
            GPM8(st, i, K, theta);
            return true;
        default:
            return false;
    }
}

bool PROBM(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    if (model < 1 || model > 8) return false;
    return GPM(st, model, i, K, UNIT, TAUC, theta[q - 1]);
}

}  // namespace vorm
