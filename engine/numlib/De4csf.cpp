#include <cmath>

#include "numlib/De2csf.h"
#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

void dE4CSF(int N, double* D, double* E, bool WANTZ, double* Z, int LDZ) {
    E1PSH("dE4CSF");
    if (N <= 1) {
        E1POP("dE4CSF");
        return;
    }
    // 1-based views of the diagonal and off-diagonal.
    double* d = D - 1;
    double* e = E - 1;
    auto zcol = [&](int j) { return Z + static_cast<long>(j - 1) * LDZ; };

    for (int i = 1; i <= N - 1; ++i) e[i] = e[i + 1];
    e[N] = 0.0;
    const double small = 100.0 * DMACH(1);
    const double eps = DMACH(4);
    // One budget for all eigenvalues together.
    const long limit = 30L * N;
    long iterations = 0;

    for (int l = 1; l <= N; ++l) {
        for (;;) {
            int m = l;
            for (; m < N; ++m) {
                // Written so that a NaN never passes: NaN data must run into the
                // iteration limit instead of deflating.
                double tol = eps * (std::fabs(d[m]) + std::fabs(d[m + 1]));
                if (tol < small) tol = small;
                if (std::fabs(e[m]) <= tol) break;
            }
            if (m == l) break;
            if (iterations == limit) {
                E1MES(4, 1, "The iteration for the eigenvalues did not converge.");
                E1POP("dE4CSF");
                return;
            }
            ++iterations;

            double g = (d[l + 1] - d[l]) / (2.0 * e[l]);
            double r = DPYTHAG(g, 1.0);
            g = d[m] - d[l] + e[l] / (g + (g >= 0.0 ? r : -r));
            double s = 1.0;
            double c = 1.0;
            double p = 0.0;
            bool underflow = false;
            for (int i = m - 1; i >= l; --i) {
                double f = s * e[i];
                const double b = c * e[i];
                DVEC_ROTG(g, f, c, s);
                r = g;
                e[i + 1] = r;
                if (r == 0.0) {
                    // The rotation underflowed: take off what was shifted so far
                    // and test for deflation again.
                    d[i + 1] = d[i + 1] - p;
                    e[m] = 0.0;
                    underflow = true;
                    break;
                }
                g = d[i + 1] - p;
                r = (d[i] - g) * s + 2.0 * c * b;
                p = s * r;
                d[i + 1] = g + p;
                g = c * r - b;
                if (WANTZ) DVEC_ROT(N, zcol(i + 1), 1, zcol(i), 1, c, s);
            }
            if (underflow) continue;
            d[l] = d[l] - p;
            e[l] = g;
            e[m] = 0.0;
        }
    }

    // Selection sort, ascending; the first of equal values stays in front.
    for (int i = 1; i <= N - 1; ++i) {
        int k = i;
        double p = d[i];
        for (int j = i + 1; j <= N; ++j) {
            if (d[j] < p) {
                k = j;
                p = d[j];
            }
        }
        if (k != i) {
            d[k] = d[i];
            d[i] = p;
            if (WANTZ) DVEC_SWAP(N, zcol(i), 1, zcol(k), 1);
        }
    }
    E1POP("dE4CSF");
}

}  // namespace vorm
