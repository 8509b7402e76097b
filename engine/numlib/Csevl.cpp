#include <cmath>

#include "numlib/Chidf.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

float CSEVL(float X, const float* CS, int N) {
    E1PSH("CSEVL");
    float result = AMACH(6);
    if (N < 1) {
        MSG_SETI(1, N);
        E1MES(5, 5, "The number of terms in the series is not positive. N = %(I1).");
    } else if (N > 1000) {
        MSG_SETI(1, N);
        E1MES(5, 6, "The number of terms in the series is greater than 1000. N = %(I1).");
    } else {
        if (std::fabs(X) > 1.1f) {
            MSG_SETR(1, X);
            E1MES(3, 7, "The argument X = %(R1) is outside the interval (-1.1,+1.1).");
        }
        // Clenshaw's recurrence, highest term first.
        float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
        const float twox = 2.0f * X;
        for (int i = N; i >= 1; --i) {
            b2 = b1;
            b1 = b0;
            b0 = twox * b1 - b2 + CS[i - 1];
        }
        result = 0.5f * (b0 - b2);
    }
    E1POP("CSEVL");
    return result;
}

}  // namespace vorm
