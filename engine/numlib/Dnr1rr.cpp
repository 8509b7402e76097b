#include "numlib/Dl2nrg.h"
#include "numlib/Kernels.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DNR1RR(int NRA, int NCA, const double* A, int LDA, double& ANORM) {
    E1PSH("DNR1RR");
    if (NRA > LDA) {
        MSG_SETI(1, NRA);
        MSG_SETI(2, LDA);
        E1MES(5, 1,
              "The number of rows of the input matrix must be less than or equal to the leading dimension while "
              "NRA = %(I1) and LDA = %(I2) are given.");
    } else if (NRA < 1) {
        MSG_SETI(1, NRA);
        E1MES(5, 2, "The number of rows of the input matrix must be greater than zero while NRA = %(I1) is given.");
    } else if (NCA < 1) {
        MSG_SETI(1, NCA);
        E1MES(5, 3, "The number of columns of the input matrix must be greater than zero while NCA = %(I1) is given.");
    } else {
        ANORM = 0.0;
        for (int j = 0; j < NCA; ++j) {
            const double s = DVEC_ASUM(NRA, A + static_cast<long>(j) * LDA, 1);
            if (s > ANORM) ANORM = s;
        }
    }
    E1POP("DNR1RR");
}

}  // namespace vorm
