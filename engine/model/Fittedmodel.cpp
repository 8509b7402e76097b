#include "model/Fittedmodel.h"

namespace vorm {

FittedModel fitted_model(const JobSettings& job, const Store& st) {
    return FittedModel{model_parameters(st, job.MODEL, job.NCAT, job.NITEM), st, job.NSUBJ, job.NQUAD};
}

}  // namespace vorm
