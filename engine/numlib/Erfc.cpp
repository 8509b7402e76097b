#include <cmath>

#include "numlib/Chebyshev_series.h"
#include "numlib/Chidf.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {
constexpr float SQRTPI = 1.7724539f;
}

float ERFC(float X) {
    static bool first = true;
    static int nterf = 0, nterfc = 0, nterc2 = 0;
    static float xsml = 0.0f, xmax = 0.0f, sqeps = 0.0f;
    E1PSH("ERFC");
    if (first) {
        const float eta = 0.1f * AMACH(3);
        nterf = INITS(ERFCS, 13, eta);
        nterfc = INITS(ERFCCS, 24, eta);
        nterc2 = INITS(ERC2CS, 23, eta);
        xsml = -std::sqrt(-std::log(SQRTPI * AMACH(3)));
        const float t = std::sqrt(-std::log(SQRTPI * AMACH(1)));
        xmax = t - 0.5f * std::log(t) / t - 0.01f;
        sqeps = std::sqrt(2.0f * AMACH(3));
        first = false;
    }

    float result;
    if (X <= xsml) {
        result = 2.0f;
    } else if (X > xmax) {
        MSG_SETR(1, X);
        MSG_SETR(2, xmax);
        E1MES(2, 1, "The function underflows because X = %(R1) is greater than %(R2). The result is set to zero.");
        result = 0.0f;
    } else {
        const float y = std::fabs(X);
        if (y <= 1.0f) {
            // Near zero the first term of the series is exact to the precision.
            if (y < sqeps)
                result = 1.0f - 2.0f * X / SQRTPI;
            else
                result = 1.0f - X * (1.0f + CSEVL(2.0f * X * X - 1.0f, ERFCS, nterf));
        } else {
            const float s = y * y;
            if (s <= 4.0f)
                result = std::exp(-s) / y * (0.5f + CSEVL((8.0f / s - 5.0f) / 3.0f, ERC2CS, nterc2));
            else
                result = std::exp(-s) / y * (0.5f + CSEVL(8.0f / s - 1.0f, ERFCCS, nterfc));
            if (X < 0.0f) result = 2.0f - result;
        }
    }
    E1POP("ERFC");
    return result;
}

}  // namespace vorm
