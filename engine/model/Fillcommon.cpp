#include "model/Fillcommon.h"

#include "model/Traits.h"

namespace vorm {

void fill_common_parameters(Store& st, int MODEL, const ItemInts& NCAT, int NITEM, double UNIT, const CatReals& TAUC) {
    const ModelTraits& m = model_traits(MODEL);
    if (!m.common) return;
    for (int i = 1; i <= NITEM; ++i) {
        if (m.unit) {
            st.LAMBDA(i) = UNIT;
        } else {
            for (int k = 0; k < NCAT(i); ++k) st.TAU(i, k) = TAUC(k);
        }
    }
}

}  // namespace vorm
