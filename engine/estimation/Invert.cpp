#include "estimation/Invert.h"

#include <cmath>
#include <ostream>

#include "common/textio.h"

namespace vorm {

void INVERT(std::ostream& con, const double* A, double* AINV, int N, int LDA, int& IER) {
    IER = 0;
    if (N < 1) return;
    if (N > INVERT_MAXN) {
        write_free(con, {" INVERT: ORDER ", N, " EXCEEDS ", INVERT_MAXN});
        IER = 29;
        return;
    }
    // The augmented matrix [A | I] and the input diagonal, of fixed size.
    double WINV[INVERT_MAXN * 2 * INVERT_MAXN];
    double DIAG[INVERT_MAXN];
    auto w = [&WINV](int i, int j) -> double& { return WINV[(i - 1) + (j - 1) * INVERT_MAXN]; };
    auto a = [&](int i, int j) { return A[(i - 1) + (j - 1) * LDA]; };
    auto report = [&con](double ratio) {
        for (int t = 0; t < 2; ++t) {
            write_free(con, {" ERROR ON INVERSION!!!!!!!!!!!!!!!"});
            write_free(con, {" TOLERANCE = ", ratio});
        }
    };
    // A matrix holding a NaN or an infinity has no inverse: it fails as a
    // whole, and its result is NaN so that no step can be taken from it.
    bool finite = true;
    for (int j = 1; j <= N; ++j)
        for (int i = 1; i <= N; ++i) finite = finite && std::isfinite(a(i, j));
    if (!finite) {
        report(std::nan(""));
        for (int j = 1; j <= N; ++j)
            for (int i = 1; i <= N; ++i) AINV[(i - 1) + (j - 1) * LDA] = std::nan("");
        IER = 29;
        return;
    }
    const int n2 = 2 * N;
    for (int j = N + 1; j <= n2; ++j)
        for (int i = 1; i <= N; ++i) w(i, j) = 0.0;
    for (int k = 1; k <= N; ++k) w(k, N + k) = 1.0;
    for (int j = 1; j <= N; ++j)
        for (int i = 1; i <= N; ++i) w(i, j) = a(i, j);
    for (int k = 1; k <= N; ++k) DIAG[k - 1] = a(k, k);

    for (int k = 1; k <= N; ++k) {
        const double d = DIAG[k - 1];
        const double ratio = std::fabs(1.0 - (d - w(k, k)) / d);
        if (ratio > 1e-8) {  // a NaN ratio fails here too
            const double r = 1.0 / w(k, k);
            for (int j = 1; j <= n2; ++j) w(k, j) = w(k, j) * r;
            for (int i = 1; i <= N; ++i) {
                if (i == k) continue;
                const double f = w(i, k);
                for (int j = 1; j <= n2; ++j) w(i, j) = w(i, j) - f * w(k, j);
            }
        } else {
            report(ratio);
            w(k, n2) = 0.0;
            IER = 29;
        }
    }
    for (int j = 1; j <= N; ++j)
        for (int i = 1; i <= N; ++i) AINV[(i - 1) + (j - 1) * LDA] = w(i, N + j);
}

}  // namespace vorm
