#include <algorithm>
#include <cmath>

#include "numlib/Chidf.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {
// Chebyshev series of the log-gamma correction in the argument 2*(10/x)^2 - 1.
constexpr float ALGMCS[6] = {0.166638955f,     -1.38494815E-05f, 9.81082593E-09f,
                             -1.80912004E-11f, 6.2200001E-14f,   -3.00000012E-16f};
}  // namespace

float R9LGMC(float X) {
    static bool first = true;
    static int nalgm = 0;
    static float xbig = 0.0f, xmax = 0.0f;
    E1PSH("R9LGMC");
    if (first) {
        nalgm = INITS(ALGMCS, 6, AMACH(3));
        xbig = 1.0f / std::sqrt(AMACH(3));
        xmax = std::exp(std::min(std::log(AMACH(2) / 12.0f), -std::log(12.0f * AMACH(1))));
        first = false;
    }

    float result;
    if (X < 10.0f) {
        MSG_SETR(1, X);
        E1MES(5, 2, "The argument X = %(R1) must be greater than or equal to 10.0.");
        result = AMACH(6);
    } else if (X >= xmax) {
        MSG_SETR(1, X);
        MSG_SETR(2, xmax);
        E1MES(2, 1, "The function underflows because X = %(R1) is greater than %(R2). The result is set to zero.");
        result = 0.0f;
    } else {
        result = 1.0f / (12.0f * X);
        if (X < xbig) {
            const float u = 10.0f / X;
            result = CSEVL(2.0f * (u * u) - 1.0f, ALGMCS, nalgm) / X;
        }
    }
    E1POP("R9LGMC");
    return result;
}

}  // namespace vorm
