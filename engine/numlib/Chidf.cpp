#include "numlib/Chidf.h"

#include <algorithm>
#include <cmath>

#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

float CHIDF(float CHSQ, float DF) {
    E1PSH("CHIDF");
    const float eps = 10.0f * AMACH(4);
    const float x = CHSQ;
    float result;
    if (x < 0.0f) {
        MSG_SETR(1, x);
        E1MES(1, 1, "Since CHSQ = %(R1) is less than zero, the distribution function is zero at CHSQ.");
        result = 0.0f;
    } else if (DF < 0.5f) {
        MSG_SETR(1, DF);
        E1MES(5, 2, "The number of degrees of freedom of the distribution, DF = %(R1), must be at least equal to 0.5.");
        result = AMACH(6);
    } else if (x <= 1.0E-12f) {
        result = 0.0f;
    } else if (DF > 65.0f) {
        // Wilson and Hilferty: the cube root of chi-squared over DF is close to normal.
        if (x < 2.0f) {
            result = 0.0f;
        } else {
            const float t = 0.22222222f / DF;
            const float z = (std::pow(x / DF, 0.33333334f) - (1.0f - t)) / std::sqrt(t);
            if (z > 5.0f) {
                result = 1.0f;
            } else if (z < -18.8055f) {
                E1MES(2, 3,
                      "The normal distribution is used for large degrees of freedom.  However, it has produced "
                      "underflow.  Therefore, the probability is set to 0.");
                result = 0.0f;
            } else {
                result = ANORDF(z);
            }
        }
    } else if (x > 200.0f) {
        result = 1.0f;
    } else {
        const float a = DF / 2.0f;
        const float h = x / 2.0f;
        const float g = GAMMA(a);
        const float b = std::max(a / 2.0f, 13.0f);
        if (h < b) {
            // Power series of the lower incomplete gamma function.
            if (DF > 25.0f && x < 2.0f) {
                result = 0.0f;
            } else {
                float term = 1.0f / (g * a);
                float sum = term;
                for (int k = 1; k <= 50; ++k) {
                    term = term * h / (a + static_cast<float>(k));
                    if (eps * sum >= term) break;
                    sum = sum + term;
                }
                result = std::exp(a * std::log(h) - h) * sum;
            }
        } else {
            // Asymptotic expansion of the upper tail; a term that turns
            // negative ends it.
            const float c = 1.0f / h;
            float m = a - 1.0f;
            float term = m * c;
            float sum = 1.0f + term;
            for (int k = 1; k <= 49; ++k) {
                m = m - 1.0f;
                term = term * m * c;
                if (eps * sum >= term) break;
                sum = sum + term;
            }
            result = 1.0f - std::exp(a * std::log(h) - h) * sum * c / g;
        }
    }
    E1POP("CHIDF");
    return result;
}

}  // namespace vorm
