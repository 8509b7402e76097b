// Category probabilities of the eight models.
//
// PROBMn takes the location as element q (from 1) of a location array given by
// a pointer to its first element; GPMn takes one location.  Routine n is model
// n: 1 and 5 take the common UNIT, 3 and 7 the common thresholds TAUC, the
// others read the item's own parameters from the store.  Each call writes
// st.PROB(0..K-1) and nothing else; K < 1 leaves PROB untouched.
#pragma once

#include "common/Store.h"

namespace vorm {

void PROBM1(Store& st, int q, int i, int K, double UNIT, const double* theta);
void PROBM2(Store& st, int q, int i, int K, const double* theta);
void PROBM3(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void PROBM4(Store& st, int q, int i, int K, const double* theta);
void PROBM5(Store& st, int q, int i, int K, double UNIT, const double* theta);
void PROBM6(Store& st, int q, int i, int K, const double* theta);
void PROBM7(Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void PROBM8(Store& st, int q, int i, int K, const double* theta);

void GPM1(Store& st, int i, int K, double UNIT, double theta);
void GPM2(Store& st, int i, int K, double theta);
void GPM3(Store& st, int i, int K, const CatReals& TAUC, double theta);
void GPM4(Store& st, int i, int K, double theta);
void GPM5(Store& st, int i, int K, double UNIT, double theta);
void GPM6(Store& st, int i, int K, double theta);
void GPM7(Store& st, int i, int K, const CatReals& TAUC, double theta);
void GPM8(Store& st, int i, int K, double theta);

// The callers' choice by model number, tested 1, 2, ..., 8: false (and PROB
// untouched) for a number outside 1..8, which each caller reports itself.
bool PROBM(Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC, const double* theta);
bool GPM(Store& st, int model, int i, int K, double UNIT, const CatReals& TAUC, double theta);

}  // namespace vorm
