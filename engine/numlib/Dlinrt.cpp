#include <cmath>

#include "numlib/Dl2nrg.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DLINRT(int N, const double* A, int LDA, int IPATH, double* AINV, int LDAINV) {
    E1PSH("DLINRT");
    const bool sizes_ok = order_checks_pass(N, LDA, "LDA", LDAINV, "LDAINV");
    if (sizes_ok && IPATH != 1 && IPATH != 2) {
        MSG_SETI(1, IPATH);
        E1MES(5, 4, "IPATH must be either 1 or 2 while a value of %(I1) is given.");
    } else if (sizes_ok) {
        auto a = [A, LDA](int i, int j) { return A[(i - 1) + static_cast<long>(j - 1) * LDA]; };
        auto X = [AINV, LDAINV](int i, int j) -> double& { return AINV[(i - 1) + static_cast<long>(j - 1) * LDAINV]; };
        double t = DMACH(1);
        if (DMACH(1) * DMACH(2) < 1.0) t = 1.0 / DMACH(2);

        int zero = 0;
        for (int k = 1; k <= N && zero == 0; ++k)
            if (std::fabs(a(k, k)) <= t) zero = k;
        if (zero != 0) {
            MSG_SETI(1, zero);
            E1MES(5, 5,
                  "The matrix to be inverted is singular.  The index of the first zero diagonal element of A is "
                  "%(I1).");
        } else if (IPATH == 2) {
            // Upper triangle: copy, clear below the diagonal, then invert in
            // place one column at a time; the leading block is already the
            // inverse of the leading block of U.
            for (int j = 1; j <= N; ++j) {
                if (A != AINV || LDA != LDAINV) DVEC_COPY(j, &A[static_cast<long>(j - 1) * LDA], 1, &X(1, j), 1);
                if (j < N) DVEC_SET(N - j, 0.0, &X(j + 1, j), 1);
            }
            for (int k = 1; k <= N; ++k) {
                X(k, k) = 1.0 / X(k, k);
                DVEC_SCAL(k - 1, -X(k, k), &X(1, k), 1);
                if (k < N) {
                    DGER(k - 1, N - k, 1.0, &X(1, k), 1, &X(k, k + 1), LDAINV, &X(1, k + 1), LDAINV);
                    DVEC_SCAL(N - k, X(k, k), &X(k, k + 1), LDAINV);
                }
            }
        } else {
            // Lower triangle: the mirror image, from the last column back.
            for (int j = 1; j <= N; ++j) {
                if (A != AINV || LDA != LDAINV)
                    DVEC_COPY(N - j + 1, &A[(j - 1) + static_cast<long>(j - 1) * LDA], 1, &X(j, j), 1);
                DVEC_SET(j - 1, 0.0, &X(1, j), 1);
            }
            for (int k = N; k >= 1; --k) {
                X(k, k) = 1.0 / X(k, k);
                DVEC_SCAL(N - k, -X(k, k), &X(k + 1, k), 1);
                if (k > 1) {
                    DGER(N - k, k - 1, 1.0, &X(k + 1, k), 1, &X(k, 1), LDAINV, &X(k + 1, 1), LDAINV);
                    DVEC_SCAL(k - 1, X(k, k), &X(k, 1), LDAINV);
                }
            }
        }
    }
    E1POP("DLINRT");
}

}  // namespace vorm
