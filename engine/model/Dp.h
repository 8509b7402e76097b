// First derivatives of the category probabilities by parameter kind.
//
// Same argument lists as PROBMn.  Results (Modelvalues.h): mv.DPAD row 1 (by
// alpha, DPALPn), row 2 (by delta, DPDELn); mv.DPLT row 1 (by lambda, DPLAMn)
// or rows 1..K-1 (by threshold k, DPTAUn).  Only columns 0..K-1 (and rows
// 1..K-1) are written.
#pragma once

#include "common/Store.h"
#include "model/Modelvalues.h"

namespace vorm {

void DPALP5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPALP6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void DPALP7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPALP8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);

void DPDEL1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPDEL2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void DPDEL3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPDEL4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void DPDEL5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPDEL6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void DPDEL7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPDEL8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);

void DPLAM1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPLAM2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void DPLAM5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPLAM6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);

void DPTAU3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPTAU4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void DPTAU7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPTAU8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);

// Choice by model number; false when the model has no routine of that kind
// (DPALP for 1..4, DPLAM for 3, 4, 7, 8, DPTAU for 1, 2, 5, 6) or is outside 1..8.
bool DPDEL(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta);
bool DPALP(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta);
bool DPLAM(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta);
bool DPTAU(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta);

}  // namespace vorm
