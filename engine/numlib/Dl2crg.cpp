#include <cmath>

#include "numlib/Dl2nrg.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"
#include "numlib/Workspace.h"

namespace vorm {

namespace {

// Condition estimate of Cline, Moler, Stewart and Wilkinson on the factors in
// FAC: solves A'y = e with e chosen to make y large, then Az = y; |z|/|y|
// approximates the L1 norm of the inverse.  Every vector is rescaled on the
// way so that nothing overflows.
double estimate_rcond(int N, const double* FAC, int LDFAC, const int* IPVT, double ANORM, double* Z) {
    auto F = [FAC, LDFAC](int i, int j) { return FAC[(i - 1) + static_cast<long>(j - 1) * LDFAC]; };
    auto z = [Z](int i) -> double& { return Z[i - 1]; };

    // Solve U'w = e.
    double ek = 1.0;
    DVEC_SET(N, 0.0, Z, 1);
    for (int k = 1; k <= N; ++k) {
        if (z(k) != 0.0) ek = std::copysign(ek, -z(k));
        const double ukk = F(k, k);
        if (std::fabs(ek - z(k)) > std::fabs(ukk)) {
            const double s = std::fabs(ukk) / std::fabs(ek - z(k));
            DVEC_SCAL(N, s, Z, 1);
            ek = s * ek;
        }
        double wk = ek - z(k);
        double wkm = -ek - z(k);
        double s = std::fabs(wk);
        double sm = std::fabs(wkm);
        if (ukk != 0.0) {
            wk = wk / ukk;
            wkm = wkm / ukk;
        } else {
            wk = 1.0;
            wkm = 1.0;
        }
        for (int j = k + 1; j <= N; ++j) {
            sm = sm + std::fabs(z(j) + wkm * F(k, j));
            s = s + std::fabs(z(j) + wk * F(k, j));
        }
        const double w = s < sm ? wkm : wk;
        for (int j = k + 1; j <= N; ++j) z(j) = z(j) + w * F(k, j);
        z(k) = w;
    }
    DVEC_SCAL(N, 1.0 / DVEC_ASUM(N, Z, 1), Z, 1);

    // Solve L'y = w.
    for (int k = N; k >= 1; --k) {
        if (k < N) z(k) = z(k) + DVEC_DOT(N - k, &FAC[k + static_cast<long>(k - 1) * LDFAC], 1, &z(k + 1), 1);
        if (std::fabs(z(k)) > 1.0) DVEC_SCAL(N, 1.0 / std::fabs(z(k)), Z, 1);
        const int l = IPVT[k - 1];
        const double tmp = z(l);
        z(l) = z(k);
        z(k) = tmp;
    }
    DVEC_SCAL(N, 1.0 / DVEC_ASUM(N, Z, 1), Z, 1);
    double ynorm = 1.0;

    // Solve Lv = y.
    for (int k = 1; k <= N; ++k) {
        const int l = IPVT[k - 1];
        const double tmp = z(l);
        z(l) = z(k);
        z(k) = tmp;
        if (k < N) DVEC_AXPY(N - k, tmp, &FAC[k + static_cast<long>(k - 1) * LDFAC], 1, &z(k + 1), 1);
        if (std::fabs(z(k)) > 1.0) {
            const double s = 1.0 / std::fabs(z(k));
            DVEC_SCAL(N, s, Z, 1);
            ynorm = s * ynorm;
        }
    }
    double s = 1.0 / DVEC_ASUM(N, Z, 1);
    DVEC_SCAL(N, s, Z, 1);
    ynorm = s * ynorm;

    // Solve Uz = v.
    for (int k = N; k >= 1; --k) {
        const double ukk = F(k, k);
        if (std::fabs(z(k)) > std::fabs(ukk)) {
            const double r = std::fabs(ukk) / std::fabs(z(k));
            DVEC_SCAL(N, r, Z, 1);
            ynorm = r * ynorm;
        }
        if (ukk != 0.0)
            z(k) = z(k) / ukk;
        else
            z(k) = 1.0;
        DVEC_AXPY(k - 1, -z(k), &FAC[static_cast<long>(k - 1) * LDFAC], 1, Z, 1);
    }
    s = 1.0 / DVEC_ASUM(N, Z, 1);
    DVEC_SCAL(N, s, Z, 1);
    ynorm = s * ynorm;

    return ANORM != 0.0 ? ynorm / ANORM : 1.0;
}

}  // namespace

void DL2CRG(int N, const double* A, int LDA, double* FAC, int LDFAC, int* IPVT, double& RCOND, double* Z) {
    E1PSH("DL2CRG");
    if (order_checks_pass(N, LDA, "LDA", LDFAC, "LDFAC")) {
        RCOND = 1.0;
        const int option = 17;
        int ivals[2] = {0, 0};
        IUMAG("MATH", 1, 1, 1, &option, ivals);
        const int icond = ivals[1];
        if (icond != 1 && icond != 2) {
            MSG_SETI(1, icond);
            E1MES(5, 4,
                  "The flag value for computing the matrix condition number must be 1 or 2 while %(I1) is given.");
        } else {
            double anorm = 0.0;
            if (icond == 2) DNR1RR(N, N, A, LDA, anorm);
            double* scale = numlib_workspace_take_double(N);
            if (scale == nullptr) {
                MSG_SETI(1, N);
                E1MES(5, 5, "The required storage cannot be allocated.  The workspace is based on N, where N = %(I1).");
            } else {
                dL2TRG(N, A, LDA, FAC, LDFAC, IPVT, scale);
                const int factor_type = N1RTY(1);
                numlib_workspace_free_double(scale);
                if (factor_type < 4 && icond == 2) {
                    RCOND = estimate_rcond(N, FAC, LDFAC, IPVT, anorm, Z);
                    if (RCOND <= DMACH(4)) {
                        MSG_SETD(1, RCOND);
                        E1MES(3, 1,
                              "The matrix is algorithmically singular.  An estimate of the reciprocal of its L1 "
                              "condition number is RCOND = %(D1).");
                    }
                }
            }
        }
    }
    E1POP("DL2CRG");
}

}  // namespace vorm
