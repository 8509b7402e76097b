#include "numlib/De2csf.h"
#include "numlib/Kernels.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void DCSFRG(int N, double* A, int LDA) {
    E1PSH("DCSFRG");
    if (N < 1) {
        MSG_SETI(1, N);
        E1MES(5, 1, "N = %(I1).  The order of A, N, must be greater than 0.");
    } else if (LDA < N) {
        MSG_SETI(1, N);
        MSG_SETI(2, LDA);
        E1MES(5, 2,
              "N = %(I1) and LDA = %(I2).  The order of A, N, must be less than or equal to the leading "
              "dimension of A, LDA.");
    } else {
        // Row i of the lower triangle takes column i of the upper one.
        for (int i = 1; i < N; ++i) DVEC_COPY(N - i, A + (i - 1) + i * LDA, LDA, A + i + (i - 1) * LDA, 1);
    }
    E1POP("DCSFRG");
}

}  // namespace vorm
