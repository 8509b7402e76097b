// First derivatives of the category probabilities by parameter kind.
//
// Same argument lists as PROBMn.  Results: st.DPAD row 1 (by alpha, DPALPn),
// row 2 (by delta, DPDELn); st.DPLT row 1 (by lambda, DPLAMn) or rows 1..K-1
// (by threshold k, DPTAUn).  Only columns 0..K-1 (and rows 1..K-1) are written.
#pragma once

#include "common/Store.h"

namespace vorm {

void DPALP5(Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPALP6(Store& st, int q, int i, int K, const double* theta);
void DPALP7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPALP8(Store& st, int q, int i, int K, const double* theta);

void DPDEL1(Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPDEL2(Store& st, int q, int i, int K, const double* theta);
void DPDEL3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPDEL4(Store& st, int q, int i, int K, const double* theta);
void DPDEL5(Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPDEL6(Store& st, int q, int i, int K, const double* theta);
void DPDEL7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPDEL8(Store& st, int q, int i, int K, const double* theta);

void DPLAM1(Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPLAM2(Store& st, int q, int i, int K, const double* theta);
void DPLAM5(Store& st, int q, int i, int K, double UNIT, const double* theta);
void DPLAM6(Store& st, int q, int i, int K, const double* theta);

void DPTAU3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPTAU4(Store& st, int q, int i, int K, const double* theta);
void DPTAU7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void DPTAU8(Store& st, int q, int i, int K, const double* theta);

// Choice by model number; false when the model has no routine of that kind
// (DPALP for 1..4, DPLAM for 3, 4, 7, 8, DPTAU for 1, 2, 5, 6) or is outside 1..8.
bool DPDEL(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta);
bool DPALP(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta);
bool DPLAM(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta);
bool DPTAU(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta);

}  // namespace vorm
