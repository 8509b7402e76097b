#include "model/Dp.h"

#include "model/Evaluate.h"
#include "model/Traits.h"

namespace vorm {

// Routine DPxxxn is evaluate_point for model n and one kind of derivative;
// the routines without a common parameter pass the store's, which their
// models do not read.

void DPALP5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    evaluate_point(mv, 5, BY_ALPHA, item_parameters(st, 5, i, K, UNIT, st.TAUC), theta[q - 1]);
}
void DPALP6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 6, BY_ALPHA, item_parameters(st, 6, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}
void DPALP7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    evaluate_point(mv, 7, BY_ALPHA, item_parameters(st, 7, i, K, st.UNIT, TAUC), theta[q - 1]);
}
void DPALP8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 8, BY_ALPHA, item_parameters(st, 8, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}

void DPDEL1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    evaluate_point(mv, 1, BY_DELTA, item_parameters(st, 1, i, K, UNIT, st.TAUC), theta[q - 1]);
}
void DPDEL2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 2, BY_DELTA, item_parameters(st, 2, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}
void DPDEL3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    evaluate_point(mv, 3, BY_DELTA, item_parameters(st, 3, i, K, st.UNIT, TAUC), theta[q - 1]);
}
void DPDEL4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 4, BY_DELTA, item_parameters(st, 4, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}
void DPDEL5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    evaluate_point(mv, 5, BY_DELTA, item_parameters(st, 5, i, K, UNIT, st.TAUC), theta[q - 1]);
}
void DPDEL6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 6, BY_DELTA, item_parameters(st, 6, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}
void DPDEL7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    evaluate_point(mv, 7, BY_DELTA, item_parameters(st, 7, i, K, st.UNIT, TAUC), theta[q - 1]);
}
void DPDEL8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 8, BY_DELTA, item_parameters(st, 8, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}

void DPLAM1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    evaluate_point(mv, 1, BY_UNIT, item_parameters(st, 1, i, K, UNIT, st.TAUC), theta[q - 1]);
}
void DPLAM2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 2, BY_UNIT, item_parameters(st, 2, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}
void DPLAM5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta) {
    evaluate_point(mv, 5, BY_UNIT, item_parameters(st, 5, i, K, UNIT, st.TAUC), theta[q - 1]);
}
void DPLAM6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 6, BY_UNIT, item_parameters(st, 6, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}

void DPTAU3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    evaluate_point(mv, 3, BY_THRESHOLDS, item_parameters(st, 3, i, K, st.UNIT, TAUC), theta[q - 1]);
}
void DPTAU4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 4, BY_THRESHOLDS, item_parameters(st, 4, i, K, st.UNIT, st.TAUC), theta[q - 1]);
}
void DPTAU7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta) {
    evaluate_point(mv, 7, BY_THRESHOLDS, item_parameters(st, 7, i, K, st.UNIT, TAUC), theta[q - 1]);
}
void DPTAU8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta) {
    evaluate_point(mv, 8, BY_THRESHOLDS, item_parameters(st, 8, i, K, st.UNIT, st.TAUC), theta[q - 1]);
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
