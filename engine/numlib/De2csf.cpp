#include "numlib/De2csf.h"

#include "numlib/Kernels.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DE2CSF(int N, const double* A, int LDA, double* EVAL, double* EVEC, int LDEVEC, double* WK) {
    E1PSH("DE2CSF");
    if (N < 1) {
        MSG_SETI(1, N);
        E1MES(5, 1, "The argument N = %(I1).  The order of the matrix must be at least 1.");
    } else if (LDA < N) {
        MSG_SETI(1, LDA);
        MSG_SETI(2, N);
        E1MES(5, 2,
              "The argument LDA = %(I1).  The leading dimension of the matrix must be at least equal to the "
              "order of the matrix, N = %(I2).");
    } else if (LDEVEC < N) {
        MSG_SETI(1, LDEVEC);
        MSG_SETI(2, N);
        E1MES(5, 3,
              "The argument LDEVEC = %(I1).  The leading dimension of the eigenvector matrix must be at least "
              "the order of the matrix, N = %(I2).");
    } else {
        DE3CSF(N, A, LDA, EVAL, WK, EVEC, LDEVEC);
        dE4CSF(N, EVAL, WK, true, EVEC, LDEVEC);
        for (int i = 0; i < N; ++i) {
            double* v = EVEC + static_cast<long>(i) * LDEVEC;
            const int k = DVEC_IAMAX(N, v, 1);
            const double big = v[k - 1];
            // Dividing (rather than scaling by a reciprocal) makes that element
            // exactly +1.
            if (big != 0.0)
                for (int r = 0; r < N; ++r) v[r] = v[r] / big;
        }
    }
    E1POP("DE2CSF");
}

}  // namespace vorm
