#include <algorithm>
#include <cmath>

#include "numlib/Chebyshev_series.h"
#include "numlib/Chidf.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {
constexpr float PI = 3.14159265f;
constexpr float SQ2PIL = 0.9189385f;  // ln sqrt(2 pi)
}  // namespace

float GAMMA(float X) {
    static bool first = true;
    static int ngcs = 0;
    static float xmin = 0.0f, xmax = 0.0f, xsml = 0.0f, dxrel = 0.0f;
    E1PSH("GAMMA");
    if (first) {
        ngcs = INITS(GCS, 23, 0.1f * AMACH(3));
        R9GAML(xmin, xmax);
        xsml = std::exp(std::max(std::log(AMACH(1)), -std::log(AMACH(2))) + 0.01f);
        dxrel = std::sqrt(AMACH(4));
        first = false;
    }

    float result = AMACH(6);
    const float ay = std::fabs(X);
    if (ay <= 10.0f) {
        // Reduce to gamma(1 + y), 0 <= y < 1, and recur up or down from there.
        int n = static_cast<int>(X);
        if (X < 0.0f) n = n - 1;
        const float y = X - static_cast<float>(n);
        n = n - 1;
        float g = 0.9375f + CSEVL(2.0f * y - 1.0f, GCS, ngcs);
        if (n == 0) {
            result = g;
        } else if (n > 0) {
            for (int i = 1; i <= n; ++i) g = (y + static_cast<float>(i)) * g;
            result = g;
        } else {
            n = -n;
            if (X == 0.0f) {
                E1MES(5, 5, "The argument for the function can not be zero.");
            } else if (X < 0.0f && X + static_cast<float>(n - 2) == 0.0f) {
                MSG_SETR(1, X);
                E1MES(5, 7, "The argument for the function can not be a negative integer. Argument X = %(R1).");
            } else if (y < xsml) {
                MSG_SETR(1, X);
                E1MES(5, 6, "The function overflows because X = %(R1) is too close to zero.");
            } else {
                if (X < -0.5f && std::fabs((X - std::trunc(X - 0.5f)) / X) < dxrel) {
                    MSG_SETR(1, X);
                    E1MES(3, 2,
                          "The result is accurate to less than one half precision because X = %(R1) is too close "
                          "to a negative integer.");
                }
                for (int i = 1; i <= n; ++i) g = g / (X + static_cast<float>(i - 1));
                result = g;
            }
        }
    } else if (X > xmax) {
        MSG_SETR(1, X);
        MSG_SETR(2, xmax);
        E1MES(5, 4, "The function overflows because X = %(R1) is greater than %(R2).");
    } else if (X < xmin) {
        MSG_SETR(1, X);
        MSG_SETR(2, xmin);
        E1MES(2, 1, "The function underflows because X = %(R1) is less than %(R2). The result is set to zero.");
        result = 0.0f;
    } else {
        float g = std::exp((ay - 0.5f) * std::log(ay) - ay + SQ2PIL + R9LGMC(ay));
        if (X > 0.0f) {
            result = g;
        } else {
            // Reflection for large negative arguments.
            if (std::fabs((X - std::trunc(X - 0.5f)) / X) < dxrel) {
                MSG_SETR(1, X);
                E1MES(3, 2,
                      "The result is accurate to less than one half precision because X = %(R1) is too close to a "
                      "negative integer.");
            }
            const float sinpiy = std::sin(PI * ay);
            if (sinpiy == 0.0f) {
                MSG_SETR(1, X);
                E1MES(5, 7, "The argument for the function can not be a negative integer. Argument X = %(R1).");
            } else {
                result = -PI / (ay * sinpiy * g);
            }
        }
    }
    E1POP("GAMMA");
    return result;
}

}  // namespace vorm
