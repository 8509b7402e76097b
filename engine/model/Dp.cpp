#include "model/Dp.h"

#include "model/Evaluate.h"
#include "model/Traits.h"

namespace vorm {

namespace {
// Routine DPxxxn is evaluate_point for model n and one kind of derivative;
// the routines without a common parameter pass the store's, which their
// models do not read.
void derivative(Store& st, int model, ModelResult by, int q, int i, int K, double UNIT, const CatReals& TAUC,
                const double* theta) {
    evaluate_point(st, model, by, i, K, UNIT, TAUC, theta[q - 1]);
}
}  // namespace

void DPALP5(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(st, 5, BY_ALPHA, q, i, K, UNIT, st.TAUC, theta);
}
void DPALP6(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 6, BY_ALPHA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPALP7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(st, 7, BY_ALPHA, q, i, K, st.UNIT, TAUC, theta);
}
void DPALP8(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 8, BY_ALPHA, q, i, K, st.UNIT, st.TAUC, theta);
}

void DPDEL1(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(st, 1, BY_DELTA, q, i, K, UNIT, st.TAUC, theta);
}
void DPDEL2(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 2, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPDEL3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(st, 3, BY_DELTA, q, i, K, st.UNIT, TAUC, theta);
}
void DPDEL4(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 4, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPDEL5(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(st, 5, BY_DELTA, q, i, K, UNIT, st.TAUC, theta);
}
void DPDEL6(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 6, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPDEL7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(st, 7, BY_DELTA, q, i, K, st.UNIT, TAUC, theta);
}
void DPDEL8(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 8, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}

void DPLAM1(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(st, 1, BY_UNIT, q, i, K, UNIT, st.TAUC, theta);
}
void DPLAM2(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 2, BY_UNIT, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPLAM5(Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(st, 5, BY_UNIT, q, i, K, UNIT, st.TAUC, theta);
}
void DPLAM6(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 6, BY_UNIT, q, i, K, st.UNIT, st.TAUC, theta);
}

void DPTAU3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(st, 3, BY_THRESHOLDS, q, i, K, st.UNIT, TAUC, theta);
}
void DPTAU4(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 4, BY_THRESHOLDS, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPTAU7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(st, 7, BY_THRESHOLDS, q, i, K, st.UNIT, TAUC, theta);
}
void DPTAU8(Store& st, int q, int i, int K, const double* theta) {
    derivative(st, 8, BY_THRESHOLDS, q, i, K, st.UNIT, st.TAUC, theta);
}

bool DPDEL(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    return evaluate_point(st, model, BY_DELTA, i, K, UNIT, TAUC, theta[q - 1]);
}
bool DPALP(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    return model_traits(model).discrimination && evaluate_point(st, model, BY_ALPHA, i, K, UNIT, TAUC, theta[q - 1]);
}
bool DPLAM(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    const ModelTraits& m = model_traits(model);
    return m.valid && m.unit && evaluate_point(st, model, BY_UNIT, i, K, UNIT, TAUC, theta[q - 1]);
}
bool DPTAU(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta) {
    const ModelTraits& m = model_traits(model);
    return m.valid && !m.unit && evaluate_point(st, model, BY_THRESHOLDS, i, K, UNIT, TAUC, theta[q - 1]);
}

}  // namespace vorm
