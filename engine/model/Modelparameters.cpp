#include "model/Modelparameters.h"

#include <stdexcept>

#include "model/Traits.h"
#include "model/Unitthreshold.h"

namespace vorm {

ItemParameters item_parameters(const Store& st, int model, int i, int K, double UNIT, const CatReals& TAUC) {
    const ModelTraits& m = model_traits(model);
    ItemParameters p;
    p.K = K;
    p.delta = st.DELTA(i);
    p.alpha = st.ALPHA(i);
    p.lambda = m.common ? UNIT : st.LAMBDA(i);
    for (int k = 0; k < K && k < MAXCAT; ++k) {
        if (m.unit)
            p.tau[k] = unit_threshold(K, k, p.lambda);
        else
            p.tau[k] = m.common ? TAUC(k) : st.TAU(i, k);
    }
    return p;
}

ModelParameters model_parameters(const Store& st, int model, const ItemInts& NCAT, int NITEM, double UNIT,
                                 const CatReals& TAUC) {
    if (NITEM > MAXITEM) throw std::invalid_argument("a model has at most 100 items");
    ModelParameters m;
    m.MODEL = model;
    m.NITEM = NITEM;
    for (int i = 1; i <= NITEM; ++i) m.item(i) = item_parameters(st, model, i, NCAT(i), UNIT, TAUC);
    return m;
}

ModelParameters model_parameters(const Store& st, int model, const ItemInts& NCAT, int NITEM) {
    return model_parameters(st, model, NCAT, NITEM, st.UNIT, st.TAUC);
}

}  // namespace vorm
