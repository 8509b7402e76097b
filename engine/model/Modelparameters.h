// The parameters a model is evaluated with, item by item.
//
// An item's parameters are gathered once from where they are kept (the
// store's per-item arrays, or the common unit and thresholds of the models
// that share them) and read by the evaluation (Evaluate.h) as they are, so
// that every caller evaluates the model alike, during the estimation and
// after it.
#pragma once

#include "common/Store.h"

namespace vorm {

// One item: K categories, the location, the discrimination (read by the
// models that have one), the unit as the model has it (UNIT or the item's
// LAMBDA), and the thresholds tau(0..K-1) as the model has them: TAUC or the
// item's TAU row, and in the models with a unit those the unit stands for
// (Unitthreshold.h).
struct ItemParameters {
    int K = 0;
    double delta = 0.0;
    double alpha = 0.0;
    double lambda = 0.0;
    double tau[MAXCAT] = {};
};

// The model number with the parameters of items 1..NITEM.
struct ModelParameters {
    int MODEL = 0;
    int NITEM = 0;
    Arr1<ItemParameters, 1, MAXITEM> item;
};

// Item i of the store under `model` with K categories; UNIT and TAUC stand for
// the common unit and thresholds, which only the models that share them read.
// K is kept as given; at most MAXCAT thresholds are taken.
ItemParameters item_parameters(const Store& st, int model, int i, int K, double UNIT, const CatReals& TAUC);

// Items 1..NITEM of the store with their categories NCAT, and UNIT and TAUC
// as above (the store's own when not given).  NITEM beyond the capacity is
// refused (std::invalid_argument).
ModelParameters model_parameters(const Store& st, int model, const ItemInts& NCAT, int NITEM, double UNIT,
                                 const CatReals& TAUC);
ModelParameters model_parameters(const Store& st, int model, const ItemInts& NCAT, int NITEM);

}  // namespace vorm
