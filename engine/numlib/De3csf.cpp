#include <cmath>

#include "numlib/De2csf.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

// The reflections run from the last column towards the first on the lower
// triangle of Z; each reflector's vector is parked in the upper triangle of Z
// (column i+1) and its scale h in D(i+1), so that the accumulation afterwards
// can rebuild the orthogonal matrix in place.
void DE3CSF(int N, const double* A, int LDA, double* D, double* E, double* Z, int LDZ) {
    E1PSH("DE3CSF");
    auto z = [&](int i, int j) -> double& { return Z[(i - 1) + static_cast<long>(j - 1) * LDZ]; };
    auto zcol = [&](int i, int j) { return Z + (i - 1) + static_cast<long>(j - 1) * LDZ; };

    // Safe minimum: the smallest magnitude whose reciprocal does not overflow.
    double t = DMACH(1);
    if (DMACH(1) * DMACH(2) < 1.0) t = 1.0 / DMACH(2);

    for (int j = 1; j <= N; ++j) DVEC_COPY(j, A + static_cast<long>(j - 1) * LDA, 1, zcol(1, j), 1);
    DCSFRG(N, Z, LDZ);
    DVEC_COPY(N, zcol(1, N), 1, D, 1);

    for (int i = N - 1; i >= 1; --i) {
        double* d = D;
        double h = 0.0;
        const double sigma = i >= 2 ? DVEC_ASUM(i, d, 1) : 0.0;
        if (sigma >= t) {
            for (int k = 0; k < i; ++k) d[k] = d[k] / sigma;
            const double nrm = DVEC_NRM2(i, d, 1);
            h = nrm * nrm;
            const double f = d[i - 1];
            const double g = f >= 0.0 ? -std::sqrt(h) : std::sqrt(h);
            E[i] = sigma * g;
            h = h - f * g;
            d[i - 1] = f - g;
            DVEC_COPY(i, d, 1, zcol(1, i + 1), 1);
            DSYMV('L', i, 1.0, Z, LDZ, d, 1, 0.0, E, 1);
            for (int k = 0; k < i; ++k) E[k] = E[k] / h;
            DVEC_AXPY(i, -0.5 * (DVEC_DOT(i, E, 1, d, 1) / h), d, 1, E, 1);
            DSYR2('L', i, -1.0, d, 1, E, 1, Z, LDZ);
        } else {
            E[i] = d[i - 1];
            h = 0.0;
            DVEC_SET(i, 0.0, zcol(1, i + 1), 1);
        }
        DVEC_COPY(i, zcol(i, 1), LDZ, D, 1);
        DVEC_SET(i, 0.0, zcol(i + 1, 1), LDZ);
        D[i] = h;
    }

    // Accumulate the reflectors into Z, keeping the tridiagonal's diagonal in
    // row N meanwhile.
    for (int j = 1; j <= N - 1; ++j) {
        z(N, j) = z(j, j);
        z(j, j) = 1.0;
        const double h = D[j];
        if (h != 0.0) {
            DGEMV('T', j, j, 1.0, Z, LDZ, zcol(1, j + 1), 1, 0.0, D, 1);
            DGER(j, j, -1.0 / h, zcol(1, j + 1), 1, D, 1, Z, LDZ);
        }
        DVEC_SET(j, 0.0, zcol(1, j + 1), 1);
    }
    DVEC_COPY(N, zcol(N, 1), LDZ, D, 1);
    DVEC_SET(N, 0.0, zcol(N, 1), LDZ);
    z(N, N) = 1.0;
    E[0] = 0.0;
    E1POP("DE3CSF");
}

}  // namespace vorm
