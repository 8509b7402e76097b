#include "numlib/Dl2nrg.h"
#include "numlib/Kernels.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DCRGRG(int N, const double* A, int LDA, double* B, int LDB) {
    E1PSH("DCRGRG");
    if (N < 1) {
        MSG_SETI(1, N);
        E1MES(5, 1, "The argument N = %(I1).  It must be at least 1.");
    } else if (LDA < N) {
        MSG_SETI(1, LDA);
        MSG_SETI(2, N);
        E1MES(5, 2, "The argument LDA = %(I1).  It must be at least as large as N = %(I2).");
    } else if (LDB < N) {
        MSG_SETI(1, LDB);
        MSG_SETI(2, N);
        E1MES(5, 3, "The argument LDB = %(I1).  It must be at least as large as N = %(I2).");
    } else if (A != B || LDA != LDB) {
        for (int j = 0; j < N; ++j) DVEC_COPY(N, A + static_cast<long>(j) * LDA, 1, B + static_cast<long>(j) * LDB, 1);
    }
    E1POP("DCRGRG");
}

}  // namespace vorm
