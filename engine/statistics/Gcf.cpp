#include <cmath>

#include "common/textio.h"
#include "statistics/Gammp.h"

namespace vorm {

namespace {
constexpr int ITMAX = 500;
constexpr double EPS = 3e-7f;     // the single-precision constants
constexpr double FPMIN = 1e-30f;  // keeps the Lentz factors away from zero
}  // namespace

float GCF(std::ostream& con, float a, float x) {
    double b = static_cast<double>(x) + 1.0 - a;
    double c = 1.0 / FPMIN;
    double d = 1.0 / b;
    float h = static_cast<float>(d);
    bool converged = false;
    for (int i = 1; i <= ITMAX && !converged; ++i) {
        const double an = -i * (i - static_cast<double>(a));
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < FPMIN) d = FPMIN;
        c = b + an / c;
        if (std::fabs(c) < FPMIN) c = FPMIN;
        d = 1.0 / d;
        const double del = d * c;
        h = static_cast<float>(h * del);
        converged = std::fabs(del - 1.0) < EPS;
    }
    if (!converged) write_free(con, {"A TOO LARGE, ITMAX TOO SMALL IN GCF"});
    const float gln = GAMMLN(a);
    return static_cast<float>(std::exp(-static_cast<double>(x) + a * std::log(static_cast<double>(x)) - gln) * h);
}

}  // namespace vorm
