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
    if (static_cast<double>(x) < static_cast<double>(a) + 1.0) return GSER(con, a, x);
    return 1.0f - GCF(con, a, x);
}

}  // namespace vorm
