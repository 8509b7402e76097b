#include "model/Marglike.h"

#include <cmath>
#include <stdexcept>

namespace vorm {

double MARGLIKE(std::ostream& con, const FittedModel& fm, ProbabilityTable& PT) {
    if (fm.NITEM > MAXITEM || fm.NQUAD > MAXQUAD || fm.NSUBJ > MAXSUBJ)
        throw std::invalid_argument("MARGLIKE: NITEM, NQUAD or NSUBJ exceeds the store's capacity");
    const Store& st = fm.st;
    double XLOGL = 0.0;
    fill_probability_table(con, PT, fm, st.XQUAD, fm.NQUAD, " THE MODEL NUMBER IN MARGLIKE IS INCORRECT ");
    if (fm.NSUBJ < 1) return XLOGL;

    QuadReals LQ;
    for (int p = 1; p <= fm.NSUBJ; ++p) {
        int scale = 0;
        const double L = respondent_likelihood(st, PT, p, st.WQUAD, LQ, scale);
        XLOGL += scale == 0 ? std::log(L) : std::log(L) + scale * std::log(2.0);
    }

    double lnfact = 0.0;
    for (int k = 1; k <= fm.NSUBJ; ++k) lnfact += std::log(static_cast<double>(k));
    XLOGL += lnfact;
    return XLOGL;
}

}  // namespace vorm
