#include "model/Marglike.h"

#include <cmath>
#include <stdexcept>

namespace vorm {

void MARGLIKE(std::ostream& con, const Store& st, ProbabilityTable& PT, const QuadReals& WQUAD, double& XLOGL,
              int MODEL, const ItemInts& NCAT, int NITEM, int NQUAD, int NSUBJ, double UNIT, const CatReals& TAUC,
              const QuadReals& XQUAD) {
    if (NITEM > MAXITEM || NQUAD > MAXQUAD || NSUBJ > MAXSUBJ)
        throw std::invalid_argument("MARGLIKE: NITEM, NQUAD or NSUBJ exceeds the store's capacity");
    XLOGL = 0.0;
    fill_probability_table(con, PT, model_parameters(st, MODEL, NCAT, NITEM, UNIT, TAUC), XQUAD, NQUAD,
                           " THE MODEL NUMBER IN MARGLIKE IS INCORRECT ");
    if (NSUBJ < 1) return;

    QuadReals LQ;
    for (int p = 1; p <= NSUBJ; ++p) {
        int scale = 0;
        const double L = respondent_likelihood(st, PT, p, WQUAD, LQ, scale);
        XLOGL += scale == 0 ? std::log(L) : std::log(L) + scale * std::log(2.0);
    }

    double lnfact = 0.0;
    for (int k = 1; k <= NSUBJ; ++k) lnfact += std::log(static_cast<double>(k));
    XLOGL += lnfact;
}

}  // namespace vorm
