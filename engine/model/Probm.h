// Category probabilities of the eight models.
//
// PROBMn takes the location as element q (from 1) of a location array given by
// a pointer to its first element; GPMn takes one location.  Routine n is model
// n: 1 and 5 take the common UNIT, 3 and 7 the common thresholds TAUC, the
// others read the item's own parameters from the store.  Each call writes
// mv.PROB(0..K-1) and nothing else (Modelvalues.h); K < 1 leaves PROB
// untouched.
#pragma once

#include "common/Store.h"
#include "model/Modelvalues.h"

namespace vorm {

void PROBM1(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void PROBM2(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void PROBM3(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void PROBM4(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void PROBM5(ModelValues& mv, const Store& st, int q, int i, int K, double UNIT, const double* theta);
void PROBM6(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);
void PROBM7(ModelValues& mv, const Store& st, int q, int i, int K, const CatReals& TAUC, const double* theta);
void PROBM8(ModelValues& mv, const Store& st, int q, int i, int K, const double* theta);

void GPM1(ModelValues& mv, const Store& st, int i, int K, double UNIT, double theta);
void GPM2(ModelValues& mv, const Store& st, int i, int K, double theta);
void GPM3(ModelValues& mv, const Store& st, int i, int K, const CatReals& TAUC, double theta);
void GPM4(ModelValues& mv, const Store& st, int i, int K, double theta);
void GPM5(ModelValues& mv, const Store& st, int i, int K, double UNIT, double theta);
void GPM6(ModelValues& mv, const Store& st, int i, int K, double theta);
void GPM7(ModelValues& mv, const Store& st, int i, int K, const CatReals& TAUC, double theta);
void GPM8(ModelValues& mv, const Store& st, int i, int K, double theta);

// The callers' choice by model number, tested 1, 2, ..., 8: false (and PROB
// untouched) for a number outside 1..8, which each caller reports itself.
bool PROBM(ModelValues& mv, const Store& st, int model, int q, int i, int K, double UNIT, const CatReals& TAUC,
           const double* theta);
bool GPM(ModelValues& mv, const Store& st, int model, int i, int K, double UNIT, const CatReals& TAUC, double theta);

}  // namespace vorm
