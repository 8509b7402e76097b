#include <cmath>

#include "numlib/Chidf.h"
#include "numlib/Numlib_error.h"

namespace vorm {

int INITS(const float* OS, int NOS, float ETA) {
    E1PSH("INITS");
    int result = 0;
    if (NOS < 1) {
        MSG_SETI(1, NOS);
        E1MES(5, 5, "The number of coefficients is less than 1. NOS = %(I1).");
    } else {
        // The neglected tail is bounded by the sum of the magnitudes beyond
        // the last term kept.
        float err = 0.0f;
        int i = NOS;
        for (; i >= 1; --i) {
            err += std::fabs(OS[i - 1]);
            if (err > ETA) break;
        }
        if (i < 1) i = 1;
        if (i == NOS) {
            E1MES(5, 6, "Too much accuracy may be requested. ETA should be increased.");
            i = 0;
        }
        result = i;
    }
    E1POP("INITS");
    return result;
}

}  // namespace vorm
