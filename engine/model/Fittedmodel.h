// The fitted model as the stages after the estimation read it: the marginal
// log-likelihood, the plot files and the fit analysis.
//
// The run driver makes it once, when the estimation and the standard errors
// are done: the model number and every item's parameters as the model has
// them (Modelparameters.h), with the common unit or thresholds filled in for
// every item and, in the models with a unit, the thresholds it stands for;
// beside them the respondents' data and estimates, read from the store.
// Those stages take it const and write no parameter: the store keeps the
// estimates as the estimation left them, and the parameter files show them so.
#pragma once

#include "common/Store.h"
#include "model/Modelparameters.h"

namespace vorm {

struct FittedModel : ModelParameters {
    const Store& st;  // RESP, ITEMID, PERSID, THETA, TSTD, XQUAD, WQUAD, DENS
    int NSUBJ = 0;
    int NQUAD = 0;
};

FittedModel fitted_model(const JobSettings& job, const Store& st);

}  // namespace vorm
