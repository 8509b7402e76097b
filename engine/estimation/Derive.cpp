#include "estimation/Derive.h"

#include <cmath>

namespace vorm {

namespace {
double largest(const ItemReals& PROP, int NITEM) {
    double t = PROP(1);
    for (int i = 2; i <= NITEM; ++i)
        if (PROP(i) > t) t = PROP(i);
    return t;
}
}  // namespace

void DERIVE(const JobSettings& job, Store& st) {
    const ItemInts& NCAT = job.NCAT;
    const int NITEM = job.NITEM, NSUBJ = job.NSUBJ;
    if (NITEM < 1) return;
    ItemReals PROP;  // share of all respondents in each item's upper half
    const double share = 1.0 / NSUBJ;
    for (int i = 1; i <= NITEM; ++i) {
        const int h = static_cast<int>(std::floor(0.5 * NCAT(i) + 0.5));
        PROP(i) = 0.0;
        for (int j = 1; j <= NSUBJ; ++j)
            if (st.RESP(j, i) >= h) PROP(i) += share;
    }
    double t = largest(PROP, NITEM);
    if (!(t > 0.0)) {
        // Rescaling a largest share of 0 would divide by zero: every item ties
        // with it, so all start at 0 and the unit is the lower bound's.
        t = 0.6224593;
        st.UNIT = 0.5 * std::log(t / (1.0 - t));
        for (int i = 1; i <= NITEM; ++i) st.DELTA(i) = 0.0;
        return;
    }
    if (t <= 0.6224593) {
        for (int i = 1; i <= NITEM; ++i) PROP(i) = (1.0 / t) * PROP(i) * 0.6224593;
        t = largest(PROP, NITEM);
    }
    if (t >= 0.8807971) {
        for (int i = 1; i <= NITEM; ++i) PROP(i) = (1.0 / t) * PROP(i) * 0.8807971;
        t = largest(PROP, NITEM);
    }
    const double u = 0.5 * std::log(t / (1.0 - t));
    st.UNIT = u;
    for (int i = 1; i <= NITEM; ++i) {
        if (std::fabs(PROP(i) - t) <= 1.0e-14) {
            st.DELTA(i) = 0.0;
            continue;
        }
        double lo = 1.0e-14, hi = 25.0, w = 0.0;
        do {
            w = lo + (hi - lo) * 0.5;
            const double g = std::exp(2.0 * u - w) + std::exp(2.0 * u - 2.0 * w);
            const double f = g / (std::exp(-3.0 * w) + g + 1.0) - PROP(i);
            if (f < 0.0)
                hi = w;
            else
                lo = w;
        } while (std::fabs(hi - lo) > 0.001);
        st.DELTA(i) = lo + (hi - lo) * 0.5;
    }
}

}  // namespace vorm
