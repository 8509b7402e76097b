#include <cmath>
#include <utility>

#include "numlib/Dl2nrg.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {
// The smallest pivot magnitude taken as nonzero: the smallest normal number,
// or the reciprocal of the largest when that one would overflow.
double pivot_threshold() {
    double t = DMACH(1);
    if (DMACH(1) * DMACH(2) < 1.0) t = 1.0 / DMACH(2);
    return t;
}

void post_singular() {
    E1MES(4, 2,
          "The input matrix is singular.  Some of the diagonal elements of the upper triangular matrix U of the LU "
          "factorization are close to zero.");
}
}  // namespace

void dL2TRG(int N, const double* A, int LDA, double* FAC, int LDFAC, int* IPVT, double* SCALE) {
    E1PSH("dL2TRG");
    if (!order_checks_pass(N, LDA, "LDA", LDFAC, "LDFAC")) {
        E1POP("dL2TRG");
        return;
    }

    auto F = [FAC, LDFAC](int i, int j) -> double& { return FAC[(i - 1) + static_cast<long>(j - 1) * LDFAC]; };
    DCRGRG(N, A, LDA, FAC, LDFAC);
    const double t = pivot_threshold();

    // A NaN or an infinity would pass every pivot test and leave NaN factors
    // that look like a result: such a matrix has no inverse and is singular.
    bool finite = true;
    for (int j = 1; j <= N; ++j)
        for (int i = 1; i <= N; ++i) finite = finite && std::isfinite(F(i, j));
    if (!finite) {
        for (int k = 1; k <= N; ++k) IPVT[k - 1] = k;
        post_singular();
        E1POP("dL2TRG");
        return;
    }

    // Scaling each row by its largest magnitude makes the pivot choice
    // independent of how the rows were scaled.
    for (int i = 1; i <= N; ++i) {
        const double m = std::fabs(F(i, DVEC_IAMAX(N, &F(i, 1), LDFAC)));
        SCALE[i - 1] = m >= t ? 1.0 / m : 1.0;
    }

    bool singular = false;
    for (int k = 1; k <= N - 1; ++k) {
        int rel = 0;
        DLU_MAXPROD(N - k + 1, &F(k, k), &SCALE[k - 1], rel);
        const int l = k - 1 + rel;
        IPVT[k - 1] = l;
        if (std::fabs(F(l, k)) <= t) {
            singular = true;
            continue;
        }
        if (l != k) {
            std::swap(SCALE[k - 1], SCALE[l - 1]);
            DVEC_SWAP(N - k + 1, &F(k, k), LDFAC, &F(l, k), LDFAC);
        }
        DVEC_SCAL(N - k, -1.0 / F(k, k), &F(k + 1, k), 1);
        for (int j = k + 1; j <= N; ++j) DVEC_AXPY(N - k, F(k, j), &F(k + 1, k), 1, &F(k + 1, j), 1);
    }
    IPVT[N - 1] = N;
    if (std::fabs(F(N, N)) <= t) singular = true;

    if (singular) post_singular();
    E1POP("dL2TRG");
}

}  // namespace vorm
