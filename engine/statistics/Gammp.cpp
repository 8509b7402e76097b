#include "statistics/Gammp.h"

#include <cmath>
#include <limits>

#include "common/textio.h"

namespace vorm {

float GAMMP(std::ostream& con, float a, float x) {
    if (!(x >= 0.0f) || !(a > 0.0f)) {
        write_free(con, {"BAD ARGUMENTS IN GAMMP"});
        // Both branches divide by a, and neither converges on a NaN.
        if (!(a > 0.0f) || std::isnan(x)) return std::numeric_limits<float>::quiet_NaN();
    }
    if (std::isinf(x)) return 1.0f;
    float result = 0.0f;
    float gln = 0.0f;
    if (static_cast<double>(x) < static_cast<double>(a) + 1.0) {
        GSER(con, result, a, x, gln);
        return result;
    }
    GCF(con, result, a, x, gln);
    return 1.0f - result;
}

}  // namespace vorm
