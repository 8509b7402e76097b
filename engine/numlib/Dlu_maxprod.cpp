#include <cmath>

#include "numlib/Dl2nrg.h"
#include "numlib/Kernels.h"

namespace vorm {

void DLU_MAXPROD(int N, const double* X, const double* Y, int& I) {
    constexpr int BLOCK = 400;
    double products[BLOCK];
    I = 0;
    double best = -1.0;
    for (int start = 0; start < N; start += BLOCK) {
        const int len = N - start < BLOCK ? N - start : BLOCK;
        for (int k = 0; k < len; ++k) products[k] = X[start + k] * Y[start + k];
        const int local = DVEC_IAMAX(len, products, 1);
        const double value = std::fabs(products[local - 1]);
        // A later block wins only when strictly larger, so ties keep the first row.
        if (start == 0 || value > best) {
            best = value;
            I = start + local;
        }
    }
}

}  // namespace vorm
