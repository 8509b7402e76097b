#include "model/Probm.h"

#include "model/Evaluate.h"

namespace vorm {

// Routine n is evaluate_point for model n; the routines without a common
// parameter pass the store's, which their models do not read.
void GPM1(Store& st, int i, int K, double UNIT, double theta) {
    evaluate_point(st, 1, PROBABILITIES, i, K, UNIT, st.TAUC, theta);
}
void GPM2(Store& st, int i, int K, double theta) {
    evaluate_point(st, 2, PROBABILITIES, i, K, st.UNIT, st.TAUC, theta);
}
void GPM3(Store& st, int i, int K, const CatReals& TAUC, double theta) {
    evaluate_point(st, 3, PROBABILITIES, i, K, st.UNIT, TAUC, theta);
}
void GPM4(Store& st, int i, int K, double theta) {
    evaluate_point(st, 4, PROBABILITIES, i, K, st.UNIT, st.TAUC, theta);
}
void GPM5(Store& st, int i, int K, double UNIT, double theta) {
    evaluate_point(st, 5, PROBABILITIES, i, K, UNIT, st.TAUC, theta);
}
void GPM6(Store& st, int i, int K, double theta) {
    evaluate_point(st, 6, PROBABILITIES, i, K, st.UNIT, st.TAUC, theta);
}
void GPM7(Store& st, int i, int K, const CatReals& TAUC, double theta) {
    evaluate_point(st, 7, PROBABILITIES, i, K, st.UNIT, TAUC, theta);
}
void GPM8(Store& st, int i, int K, double theta) {
    evaluate_point(st, 8, PROBABILITIES, i, K, st.UNIT, st.TAUC, theta);
}

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
    return evaluate_point(st, model, PROBABILITIES, i, K, UNIT, TAUC, theta);
}

bool PROBM(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    if (model < 1 || model > 8) return false;
    return GPM(st, model, i, K, UNIT, TAUC, theta[q - 1]);
}

}  // namespace vorm
