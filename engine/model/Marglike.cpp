#include "model/Marglike.h"

namespace vorm {

// Not built yet: the log-likelihood stays 0 until the response model lands.
void MARGLIKE(std::ostream&, Store&, const QuadReals&, double& XLOGL, int, const ItemInts&, int, int, int, double,
              const CatReals&, const QuadReals&) {
    XLOGL = 0.0;
}

}  // namespace vorm
