#include <cmath>

#include "statistics/Gammp.h"

namespace vorm {

// Lanczos series with gamma = 5 and six coefficients.
float GAMMLN(float xx) {
    static constexpr double cof[6] = {76.18009172947146,  -86.50532032941677,    24.01409824083091,
                                      -1.231739572450155, 0.1208650973866179e-2, -0.5395239384953e-5};
    const double x = xx;
    double y = xx;
    double tmp = x + 5.5;
    tmp = (x + 0.5) * std::log(tmp) - tmp;
    double ser = 1.000000000190015;
    for (double c : cof) {
        y += 1.0;
        ser += c / y;
    }
    return static_cast<float>(tmp + std::log(2.5066282746310005 * ser / x));
}

}  // namespace vorm
