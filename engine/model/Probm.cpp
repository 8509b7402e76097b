#include "model/Probm.h"

#include "model/Evaluate.h"

namespace vorm {

// Routine n is evaluate_point for model n; the routines without a common
// parameter pass the store's, which their models do not read.

void GPM1(ModelValues& mv, const Store& st, int i, int K, double UNIT, double theta) {
    evaluate_point(mv, 1, PROBABILITIES, item_parameters(st, 1, i, K, UNIT, st.TAUC), theta);
}
void GPM2(ModelValues& mv, const Store& st, int i, int K, double theta) {
    evaluate_point(mv, 2, PROBABILITIES, item_parameters(st, 2, i, K, st.UNIT, st.TAUC), theta);
}
void GPM3(ModelValues& mv, const Store& st, int i, int K, const CatReals& TAUC, double theta) {
    evaluate_point(mv, 3, PROBABILITIES, item_parameters(st, 3, i, K, st.UNIT, TAUC), theta);
}
void GPM4(ModelValues& mv, const Store& st, int i, int K, double theta) {
    evaluate_point(mv, 4, PROBABILITIES, item_parameters(st, 4, i, K, st.UNIT, st.TAUC), theta);
}
void GPM5(ModelValues& mv, const Store& st, int i, int K, double UNIT, double theta) {
    evaluate_point(mv, 5, PROBABILITIES, item_parameters(st, 5, i, K, UNIT, st.TAUC), theta);
}
void GPM6(ModelValues& mv, const Store& st, int i, int K, double theta) {
    evaluate_point(mv, 6, PROBABILITIES, item_parameters(st, 6, i, K, st.UNIT, st.TAUC), theta);
}
void GPM7(ModelValues& mv, const Store& st, int i, int K, const CatReals& TAUC, double theta) {
    evaluate_point(mv, 7, PROBABILITIES, item_parameters(st, 7, i, K, st.UNIT, TAUC), theta);
}
void GPM8(ModelValues& mv, const Store& st, int i, int K, double theta) {
    evaluate_point(mv, 8, PROBABILITIES, item_parameters(st, 8, i, K, st.UNIT, st.TAUC), theta);
}

void PROBM1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    GPM1(mv, st, i, K, UNIT, theta[q - 1]);
}
void PROBM2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    GPM2(mv, st, i, K, theta[q - 1]);
}
void PROBM3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    GPM3(mv, st, i, K, TAUC, theta[q - 1]);
}
void PROBM4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    GPM4(mv, st, i, K, theta[q - 1]);
}
void PROBM5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    GPM5(mv, st, i, K, UNIT, theta[q - 1]);
}
void PROBM6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    GPM6(mv, st, i, K, theta[q - 1]);
}
void PROBM7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    GPM7(mv, st, i, K, TAUC, theta[q - 1]);
}
void PROBM8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    GPM8(mv, st, i, K, theta[q - 1]);
}

bool GPM(ModelValues& mv, const Store& st, int model, int i, int K, double UNIT, const CatReals& TAUC, double theta) {
    return evaluate_point(mv, model, PROBABILITIES, item_parameters(st, model, i, K, UNIT, TAUC), theta);
}

bool PROBM(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta) {
    if (model < 1 || model > 8) return false;
    return GPM(mv, st, model, i, K, UNIT, TAUC, theta[q - 1]);
}

}  // namespace vorm
