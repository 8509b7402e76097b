#include "numlib/Dprinc.h"

#include <cmath>

#include "numlib/De2csf.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DPRINC(int NDF, int NVAR, const double* COV, int LDCOV, int ICOV, double* EVAL, double* PCT, double* STD,
            double* EVEC, int LDEVEC, double* A, int LDA) {
    E1PSH("DPRINC");
    auto cov = [&](int i, int j) { return COV[(i - 1) + static_cast<long>(j - 1) * LDCOV]; };
    auto col = [](double* M, int ld, int j) { return M + static_cast<long>(j - 1) * ld; };

    int check = 1;
    ARG_RANGE_CHECK(NVAR, "NVAR", 1, 0, check);
    if (NVAR >= 1) {
        ARG_DIM_CHECK(1, NVAR, "*NVAR", LDCOV, "LDCOV", check);
        ARG_DIM_CHECK(1, NVAR, "*NVAR", LDEVEC, "LDEVEC", check);
        ARG_DIM_CHECK(1, NVAR, "*NVAR", LDA, "LDA", check);
    }
    // Any other value would silently pick one of the two meanings.
    ARG_RANGE_CHECK(ICOV, "ICOV", 0, 1, check);
    if (N1RTY(0) != 0) {
        E1POP("DPRINC");
        return;
    }
    for (int i = 1; i <= NVAR; ++i) {
        if (cov(i, i) < 0.0) {
            MSG_SETI(1, i);
            MSG_SETD(1, cov(i, i));
            E1MES(5, check, "COV(%(I1),%(I1)) = %(D1).  All diagonal elements of COV must be nonnegative.");
            E1POP("DPRINC");
            return;
        }
    }

    int ndf = NDF;
    if (ndf < 1) {
        E1MES(3, 1,
              "Because the number of degrees of freedom in COV, NDF, is less than or equal to 0, 100 degrees "
              "of freedom will be used.");
        ndf = 100;
    }
    const double f = std::sqrt(2.0 / ndf);

    DE2CSF(NVAR, COV, LDCOV, EVAL, EVEC, LDEVEC, STD);
    const int t = N1RTY(1);
    if (t == 4 || t == 5 || t == 7) {
        E1POP("DPRINC");
        return;
    }

    const double total = DVEC_SUM(NVAR, EVAL, 1);
    for (int i = 1; i <= NVAR / 2; ++i) {
        const int k = NVAR + 1 - i;
        const double x = EVAL[i - 1];
        EVAL[i - 1] = EVAL[k - 1];
        EVAL[k - 1] = x;
        DVEC_SWAP(NVAR, col(EVEC, LDEVEC, i), 1, col(EVEC, LDEVEC, k), 1);
    }
    double running = 0.0;
    for (int i = 1; i <= NVAR; ++i) {
        double* v = col(EVEC, LDEVEC, i);
        const int k = DVEC_IAMAX(NVAR, v, 1);
        double s = DVEC_NRM2(NVAR, v, 1);
        if (v[k - 1] < 0.0) s = -s;
        DVEC_SCAL(NVAR, 1.0 / s, v, 1);
        running = running + EVAL[i - 1];
        PCT[i - 1] = running / total;
    }

    if (EVAL[NVAR - 1] < 0.0 && !(NVAR != 1 && EVAL[0] > 0.0 && EVAL[NVAR - 1] >= -1000.0 * DMACH(4) * EVAL[0])) {
        MSG_SETI(1, NVAR);
        MSG_SETD(1, EVAL[NVAR - 1]);
        E1MES(3, 2,
              "EVAL(%(I1)) = %(D1).  One or more eigenvalues much less than zero are computed.  The matrix COV "
              "is not nonnegative definite.  In order to continue computations of STD and A, these eigenvalues "
              "are treated as zero.");
    }

    if (ICOV == 1) {
        for (int i = 1; i <= NVAR; ++i) {
            const double lambda = EVAL[i - 1] > 0.0 ? EVAL[i - 1] : 0.0;
            const double* v = col(EVEC, LDEVEC, i);
            double* a = col(A, LDA, i);
            DVEC_MUL(NVAR, v, 1, v, 1, a, 1);
            double s = lambda * lambda + (1.0 - 2.0 * lambda) * DVEC_DOT(NVAR, a, 1, a, 1);
            for (int l = 2; l <= NVAR; ++l) {
                for (int k = 1; k < l; ++k) {
                    const double c = cov(k, l);
                    s = s + 2.0 * a[k - 1] * a[l - 1] * (c * c);
                }
            }
            STD[i - 1] = std::sqrt(s > 0.0 ? s : 0.0) * f;
        }
    } else {
        for (int i = 1; i <= NVAR; ++i) {
            const double lambda = EVAL[i - 1] > 0.0 ? EVAL[i - 1] : 0.0;
            STD[i - 1] = lambda * f;
        }
    }
    for (int i = 1; i <= NVAR; ++i) {
        const double lambda = EVAL[i - 1] > 0.0 ? EVAL[i - 1] : 0.0;
        double* a = col(A, LDA, i);
        DVEC_COPY(NVAR, col(EVEC, LDEVEC, i), 1, a, 1);
        DVEC_SCAL(NVAR, std::sqrt(lambda), a, 1);
    }
    if (ICOV == 0) {
        for (int k = 1; k <= NVAR; ++k) {
            const double c = cov(k, k);
            for (int i = 1; i <= NVAR; ++i) {
                double& x = A[(k - 1) + static_cast<long>(i - 1) * LDA];
                x = c > 0.0 ? x / std::sqrt(c) : DMACH(6);
            }
        }
    }
    E1POP("DPRINC");
}

}  // namespace vorm
