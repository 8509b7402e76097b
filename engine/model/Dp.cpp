#include "model/Dp.h"

#include "model/Evaluate.h"
#include "model/Traits.h"

namespace vorm {

namespace {
// Routine DPxxxn is evaluate_point for model n and one kind of derivative;
// the routines without a common parameter pass the store's, which their
// models do not read.
void derivative(ModelValues& mv, const Store& st, int model, ModelResult by, int q, int i, int K, double UNIT,
                const CatReals& TAUC, const double* theta) {
    evaluate_point(mv, model, by, item_parameters(st, model, i, K, UNIT, TAUC), theta[q - 1]);
}
}  // namespace

void DPALP5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(mv, st, 5, BY_ALPHA, q, i, K, UNIT, st.TAUC, theta);
}
void DPALP6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 6, BY_ALPHA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPALP7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(mv, st, 7, BY_ALPHA, q, i, K, st.UNIT, TAUC, theta);
}
void DPALP8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 8, BY_ALPHA, q, i, K, st.UNIT, st.TAUC, theta);
}

void DPDEL1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(mv, st, 1, BY_DELTA, q, i, K, UNIT, st.TAUC, theta);
}
void DPDEL2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 2, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPDEL3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(mv, st, 3, BY_DELTA, q, i, K, st.UNIT, TAUC, theta);
}
void DPDEL4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 4, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPDEL5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(mv, st, 5, BY_DELTA, q, i, K, UNIT, st.TAUC, theta);
}
void DPDEL6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 6, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPDEL7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(mv, st, 7, BY_DELTA, q, i, K, st.UNIT, TAUC, theta);
}
void DPDEL8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 8, BY_DELTA, q, i, K, st.UNIT, st.TAUC, theta);
}

void DPLAM1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(mv, st, 1, BY_UNIT, q, i, K, UNIT, st.TAUC, theta);
}
void DPLAM2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 2, BY_UNIT, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPLAM5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    derivative(mv, st, 5, BY_UNIT, q, i, K, UNIT, st.TAUC, theta);
}
void DPLAM6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 6, BY_UNIT, q, i, K, st.UNIT, st.TAUC, theta);
}

void DPTAU3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(mv, st, 3, BY_THRESHOLDS, q, i, K, st.UNIT, TAUC, theta);
}
void DPTAU4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 4, BY_THRESHOLDS, q, i, K, st.UNIT, st.TAUC, theta);
}
void DPTAU7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    derivative(mv, st, 7, BY_THRESHOLDS, q, i, K, st.UNIT, TAUC, theta);
}
void DPTAU8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    derivative(mv, st, 8, BY_THRESHOLDS, q, i, K, st.UNIT, st.TAUC, theta);
}

bool DPDEL(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta) {
    return evaluate_point(mv, model, BY_DELTA, item_parameters(st, model, i, K, UNIT, TAUC), theta[q - 1]);
}
bool DPALP(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta) {
    return model_traits(model).discrimination &&
           evaluate_point(mv, model, BY_ALPHA, item_parameters(st, model, i, K, UNIT, TAUC), theta[q - 1]);
}
bool DPLAM(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta) {
    const ModelTraits& m = model_traits(model);
    return m.valid && m.unit &&
           evaluate_point(mv, model, BY_UNIT, item_parameters(st, model, i, K, UNIT, TAUC), theta[q - 1]);
}
bool DPTAU(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta) {
    const ModelTraits& m = model_traits(model);
    return m.valid && !m.unit &&
           evaluate_point(mv, model, BY_THRESHOLDS, item_parameters(st, model, i, K, UNIT, TAUC), theta[q - 1]);
}

}  // namespace vorm
