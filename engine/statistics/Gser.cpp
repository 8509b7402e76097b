#include <cmath>

#include "common/textio.h"
#include "statistics/Gammp.h"

namespace vorm {

namespace {
constexpr int ITMAX = 500;
constexpr double EPS = 3e-7f;  // the single-precision constant
}  // namespace

float GSER(std::ostream& con, float a, float x) {
    if (x <= 0.0f) {
        if (x < 0.0f) write_free(con, {"X < 0 IN GSER"});
        return 0.0f;
    }
    double ap = a;
    double term = 1.0 / a;
    float sum = static_cast<float>(term);
    bool converged = false;
    for (int n = 1; n <= ITMAX && !converged; ++n) {
        ap += 1.0;
        term = term * x / ap;
        sum = static_cast<float>(sum + term);
        converged = std::fabs(term) < std::fabs(sum) * EPS;
    }
    if (!converged) write_free(con, {"A TOO LARGE, ITMAX TOO SMALL IN GSER"});
    const float gln = GAMMLN(a);
    return static_cast<float>(sum * std::exp(-static_cast<double>(x) + a * std::log(static_cast<double>(x)) - gln));
}

}  // namespace vorm
