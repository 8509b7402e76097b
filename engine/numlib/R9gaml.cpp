#include <algorithm>
#include <cmath>

#include "numlib/Chidf.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

// Newton's method on Stirling's formula for the arguments at which the gamma
// function reaches the smallest and the largest representable magnitudes.
void R9GAML(float& XMIN, float& XMAX) {
    E1PSH("R9GAML");
    const float alnsml = std::log(AMACH(1));
    XMIN = -alnsml;
    bool found = false;
    for (int i = 1; i <= 10; ++i) {
        const float xold = XMIN;
        const float xln = std::log(XMIN);
        XMIN = XMIN - XMIN * ((XMIN + 0.5f) * xln - XMIN - 0.2258f + alnsml) / (XMIN * xln + 0.5f);
        if (std::fabs(XMIN - xold) < 0.005f) {
            found = true;
            break;
        }
    }
    if (!found) {
        E1MES(5, 5, "Unable to determine the value of XMIN.");
        E1POP("R9GAML");
        return;
    }
    XMIN = -XMIN + 0.01f;

    const float alnbig = std::log(AMACH(2));
    XMAX = alnbig;
    found = false;
    for (int i = 1; i <= 10; ++i) {
        const float xold = XMAX;
        const float xln = std::log(XMAX);
        XMAX = XMAX - XMAX * ((XMAX - 0.5f) * xln - XMAX + 0.9189f - alnbig) / (XMAX * xln - 0.5f);
        if (std::fabs(XMAX - xold) < 0.005f) {
            found = true;
            break;
        }
    }
    if (!found) {
        E1MES(5, 6, "Unable to determine the value of XMAX.");
        E1POP("R9GAML");
        return;
    }
    XMAX = XMAX - 0.01f;
    XMIN = std::max(XMIN, 1.0f - XMAX);
    E1POP("R9GAML");
}

}  // namespace vorm
