#include "numlib/Dl2nrg.h"

#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DL2NRG(int N, const double* A, int LDA, double* AINV, int LDAINV, double* WK, int* IPVT) {
    E1PSH("DL2NRG");
    if (!order_checks_pass(N, LDA, "LDA", LDAINV, "LDAINV")) {
        E1POP("DL2NRG");
        return;
    }

    auto X = [AINV, LDAINV](int i, int j) -> double& { return AINV[(i - 1) + static_cast<long>(j - 1) * LDAINV]; };
    const long nmult = static_cast<long>(N) * (N - 1) / 2;
    double rcond = 1.0;
    DL2CRG(N, A, LDA, AINV, LDAINV, IPVT, rcond, WK + nmult);
    if (N1RTY(1) >= 4) {
        E1POP("DL2NRG");
        return;
    }

    // Inverting U overwrites the lower triangle, so the multipliers are kept
    // aside first, column k's at offset(k).
    auto offset = [N](int k) { return static_cast<long>(k - 1) * N - static_cast<long>(k - 1) * k / 2; };
    for (int k = 1; k <= N - 1; ++k) DVEC_COPY(N - k, &X(k + 1, k), 1, WK + offset(k), 1);

    DLINRT(N, AINV, LDAINV, 2, AINV, LDAINV);
    if (N1RTY(1) >= 4) {
        E1POP("DL2NRG");
        return;
    }

    // inv(A) = inv(U) inv(L): undo the eliminations from the last back,
    // exchanging columns for the row exchanges of the factorisation.
    for (int k = N - 1; k >= 1; --k) {
        DVEC_SET(N - k, 0.0, &X(k + 1, k), 1);
        DGEMV('N', N, N - k, 1.0, &X(1, k + 1), LDAINV, WK + offset(k), 1, 1.0, &X(1, k), 1);
        const int l = IPVT[k - 1];
        if (l != k) DVEC_SWAP(N, &X(1, k), 1, &X(1, l), 1);
    }

    if (rcond <= DMACH(4)) {
        MSG_SETD(1, rcond);
        E1MES(3, 1,
              "The matrix is too ill-conditioned. An estimate of the reciprocal of its L1 condition number is "
              "RCOND = %(D1).  The inverse might not be accurate.");
    }
    E1POP("DL2NRG");
}

}  // namespace vorm
