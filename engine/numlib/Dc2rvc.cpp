#include "numlib/Dc2rvc.h"

#include <cmath>
#include <cstdlib>

#include "numlib/Kernels.h"
#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"

namespace vorm {

// Workspace layout, V = NVAR (offsets in doubles):
//   [0, V)       per variable: 1 once two different valid values were seen;
//   [V, 2V)      per variable: the first valid value (NaN until one is seen),
//                reused for the standard deviations when the work is finished;
// pairwise options (MOPT 1..3), each table packed by columns of the lower
// triangle, so that the pair updates walk them in storage order:
//   PMJ, V(V+1)/2  for the pair (i, j), j <= i, the running mean of j over the
//                  observations valid for both ((i, i): i's own mean);
//   PMI, V(V-1)/2  for the pair (i, j), j < i, the running mean of i;
//   PSJ, PSI       MOPT 3 only: the pair's sums of squares of j and of i;
//   PW, V(V+1)/2   with weights only: the weight sum of the pair;
// complete-case option (MOPT 0):
//   [2V, 3V)     the deviations of the current row from the means.
long dC2RVC_workspace_size(int NVAR, int MOPT, bool weighted) {
    const long v = NVAR;
    switch (MOPT) {
        case 0:
            return weighted ? 4 * v : 3 * v;
        case 1:
        case 2:
            return weighted ? v * (3 * v + 5) / 2 : v * (v + 2);
        case 3:
            return weighted ? 5 * v * (v + 1) / 2 : 2 * v * (v + 1);
        default:
            return 0;
    }
}

namespace {
int g_invocation = 0;

// sqrt(a*b) for sums of squares a, b > 0.  One root of the product, so that
// two identical columns (a == b == their cross-product) correlate exactly 1;
// the product of two roots only when the product would overflow or underflow.
double root_product(double a, double b) {
    const double p = a * b;
    if (std::isfinite(p) && p >= DMACH(1)) return std::sqrt(p);
    return std::sqrt(a) * std::sqrt(b);
}
}  // namespace

void dC2RVC(int IDO, int NROW, int NVAR, const double* X, int LDX, int IFRQ, int IWT, int MOPT, int ICOPT,
            double* XMEAN, double* COV, int LDCOV, int* INCD, int LDINCD, int& NOBS, int& NMISS, double& SUMWT,
            double* WK) {
    E1PSH("dC2RVC");
    const int nrow = NROW < 0 ? (NROW == -2147483647 - 1 ? 2147483647 : -NROW) : NROW;
    // The frequency and weight columns are columns of X besides the NVAR
    // variables; one column may serve as both.
    const int lo = (IFRQ > 0 && IWT > 0) ? (IFRQ < IWT ? IFRQ : IWT) : (IFRQ > 0 ? IFRQ : IWT > 0 ? IWT : 0);
    const int hi = (IFRQ > 0 && IWT > 0 && IFRQ != IWT) ? (IFRQ > IWT ? IFRQ : IWT) : 0;
    const int ncol = NVAR + (lo > 0) + (hi > 0);
    const bool special = lo > 0;

    int check = 1;
    ARG_RANGE_CHECK(IDO, "IDO", 0, 3, check);
    ARG_RANGE_CHECK(NVAR, "NVAR", 1, 0, check);
    ARG_RANGE_CHECK(IFRQ, "IFRQ", 0, ncol, check);
    ARG_RANGE_CHECK(IWT, "IWT", 0, ncol, check);
    ARG_RANGE_CHECK(MOPT, "MOPT", 0, 3, check);
    ARG_RANGE_CHECK(ICOPT, "ICOPT", 0, 3, check);
    ARG_DIM_CHECK(0, nrow, "NROW", LDX, "LDX", check);
    // The output matrices must hold NVAR rows per column.
    ARG_DIM_CHECK(1, NVAR, "*NVAR", LDCOV, "LDCOV", check);
    if (MOPT >= 1) ARG_DIM_CHECK(1, NVAR, "*NVAR", LDINCD, "LDINCD", check);
    if (N1RTY(0) != 0 || WK == nullptr) {
        E1POP("dC2RVC");
        return;
    }

    const int V = NVAR;
    const bool weighted = IWT > 0;
    const bool pairwise = MOPT >= 1;
    double* flag = WK - 1;  // 1-based views
    double* first = WK + V - 1;
    const long tri_size = static_cast<long>(V) * (V + 1) / 2;
    const long stri_size = static_cast<long>(V) * (V - 1) / 2;
    double* PMJ = WK + 2L * V;
    double* PMI = PMJ + tri_size;
    double* PSJ = MOPT == 3 ? PMI + stri_size : nullptr;
    double* PSI = MOPT == 3 ? PSJ + tri_size : nullptr;
    double* PW = weighted && pairwise ? PMI + stri_size + (MOPT == 3 ? static_cast<long>(V) * V : 0) : nullptr;
    double* dev = WK + 2L * V - 1;  // MOPT 0
    auto cov = [&](int i, int j) -> double& { return COV[(i - 1) + static_cast<long>(j - 1) * LDCOV]; };
    auto incd = [&](int i, int j) -> int& { return INCD[(i - 1) + static_cast<long>(j - 1) * LDINCD]; };
    // Packed positions of (i, j): i >= j with the diagonal, i > j without.
    auto tri = [&](int i, int j) {
        return static_cast<long>(j - 1) * V - static_cast<long>(j - 1) * (j - 2) / 2 + (i - j);
    };
    auto stri = [&](int i, int j) {
        return static_cast<long>(j - 1) * (V - 1) - static_cast<long>(j - 1) * (j - 2) / 2 + (i - j - 1);
    };
    // pm(a, b): the running mean of variable a over the pair {a, b}; ps alike.
    auto pm = [&](int a, int b) -> double& { return a <= b ? PMJ[tri(b, a)] : PMI[stri(a, b)]; };
    auto ps = [&](int a, int b) -> double& { return a <= b ? PSJ[tri(b, a)] : PSI[stri(a, b)]; };
    auto pw = [&](int i, int j) -> double& { return PW[tri(i, j)]; };
    auto column = [&](int v) -> long {
        int c = v;
        if (lo > 0 && lo <= c) ++c;
        if (hi > 0 && hi <= c) ++c;
        return static_cast<long>(c - 1) * LDX;
    };
    const double nan = DMACH(6);

    if (IDO == 0 || IDO == 1) {
        g_invocation = 1;
        DVEC_SET(V, 0.0, XMEAN, 1);
        for (int j = 1; j <= V; ++j) DVEC_SET(V, 0.0, &cov(1, j), 1);
        if (pairwise)
            for (int j = 1; j <= V; ++j) IVEC_SET(V, 0, &incd(1, j), 1);
        DVEC_SET(V, 0.0, flag + 1, 1);
        DVEC_SET(V, nan, first + 1, 1);
        if (pairwise) {
            DVEC_SET(V * V, 0.0, PMJ, 1);
            if (PSJ) DVEC_SET(V * V, 0.0, PSJ, 1);
            if (PW) DVEC_SET(tri_size, 0.0, PW, 1);
        }
        NOBS = 0;
        NMISS = 0;
        SUMWT = 0.0;
    } else {
        ++g_invocation;
    }

    const int sign = NROW < 0 ? -1 : 1;
    for (int r = 1; r <= nrow; ++r) {
        const double* row = X + (r - 1);
        double f = sign;
        double wt = 1.0;
        if (IFRQ > 0 || IWT > 0) {
            DC1WFR(IDO, NROW, X, LDX, r, IFRQ, IWT, g_invocation, f, wt);
            if (N1RTY(1) == 4) {
                E1POP("dC2RVC");
                return;
            }
            if (std::isnan(f)) {
                NMISS += sign;
                continue;
            }
            if (f == 0.0) continue;
        }
        const double w = f * wt;
        const bool has_nan = IDANAN(ncol, row, LDX) != 0;
        if (has_nan) {
            NMISS += sign;
            if (!pairwise) continue;
        }
        NOBS += static_cast<int>(f);
        if (NOBS < 0) {
            E1MES(4, 10, "More observations have been deleted than were originally entered.");
            E1POP("dC2RVC");
            return;
        }
        SUMWT = SUMWT + w;

        for (int i = 1; i <= V; ++i) {
            const double xi = row[column(i)];
            if (std::isnan(xi)) continue;
            if (std::isnan(first[i])) {
                first[i] = xi;
            } else if (w > 0.0 && xi != first[i]) {
                flag[i] = 1.0;
            }
        }

        if (!pairwise) {
            // One ratio for the whole row; an empty sum starts afresh.
            if (SUMWT == 0.0) {
                DVEC_SET(V, 0.0, XMEAN, 1);
                for (int j = 1; j <= V; ++j) DVEC_SET(V, 0.0, &cov(1, j), 1);
                continue;
            }
            const double q = w / SUMWT;
            for (int i = 1; i <= V; ++i) dev[i] = row[column(i)] - XMEAN[i - 1];
            for (int j = 1; j <= V; ++j)
                for (int i = j; i <= V; ++i) cov(i, j) = cov(i, j) + (1.0 - q) * w * dev[i] * dev[j];
            for (int i = 1; i <= V; ++i) XMEAN[i - 1] = XMEAN[i - 1] + dev[i] * q;
            continue;
        }

        const int fi = static_cast<int>(f);
        // Most pairs share their count within a row: reuse the ratio and the
        // factor (1 - q) w, which are then the very values recomputing gives.
        double last_sum = 0.0;
        double q = 0.0;
        double factor = 0.0;
        auto value = [&](int v) { return special ? row[column(v)] : row[static_cast<long>(v - 1) * LDX]; };
        // Each pair's sums are independent of the others', so the pairs are
        // visited column by column, in storage order.
        for (int j = 1; j <= V; ++j) {
            const double xj = value(j);
            if (std::isnan(xj)) continue;
            double* cj = &cov(1, j) - 1;
            int* nj = &incd(1, j) - 1;
            double* mjc = PMJ + tri(j, j) - j;
            double* mic = PMI + stri(j + 1, j) - (j + 1);
            double* sjc = PSJ ? PSJ + tri(j, j) - j : nullptr;
            double* sic = PSI ? PSI + stri(j + 1, j) - (j + 1) : nullptr;
            double* wc = PW ? PW + tri(j, j) - j : nullptr;
            for (int i = j; i <= V; ++i) {
                const double xi = value(i);
                if (std::isnan(xi)) continue;
                const int n = nj[i] += fi;
                if (n < 0) {
                    MSG_SETI(1, i);
                    MSG_SETI(2, j);
                    E1MES(4, 11,
                          "More observations are being deleted from COV(%(I1),%(I2)) than were originally "
                          "entered.  (INCD(%(I1),%(I2)) is less than zero.)");
                    E1POP("dC2RVC");
                    return;
                }
                double sum = n;
                if (wc) sum = wc[i] = wc[i] + w;
                double& mj = mjc[i];
                double& mi = i == j ? mjc[i] : mic[i];
                if (sum == 0.0) {
                    // Everything this pair held has been taken out again.
                    cj[i] = 0.0;
                    mj = 0.0;
                    mi = 0.0;
                    if (sjc) {
                        sjc[i] = 0.0;
                        if (i != j) sic[i] = 0.0;
                    }
                    continue;
                }
                if (sum != last_sum) {
                    last_sum = sum;
                    q = w / sum;
                    factor = (1.0 - q) * w;
                }
                const double dj = xj - mj;
                const double di = xi - mi;
                cj[i] = cj[i] + factor * di * dj;
                if (sjc) {
                    sjc[i] = sjc[i] + factor * dj * dj;
                    if (i != j) sic[i] = sic[i] + factor * di * di;
                }
                mj = mj + dj * q;
                if (i != j) mi = mi + di * q;
            }
        }
        for (int i = 1; i <= V; ++i) {
            const double xi = value(i);
            if (std::isnan(xi)) continue;
            const double ni = PW ? pw(i, i) : incd(i, i);
            if (ni != 0.0) XMEAN[i - 1] = XMEAN[i - 1] + (xi - XMEAN[i - 1]) * w / ni;
        }
    }

    if (IDO == 1 || IDO == 2) {
        E1POP("dC2RVC");
        return;
    }

    auto symmetrise_incd = [&]() {
        if (!pairwise) return;
        for (int j = 1; j <= V; ++j)
            for (int i = j + 1; i <= V; ++i) incd(j, i) = incd(i, j);
    };

    if (SUMWT < 10.0 * DMACH(4)) {
        DVEC_SET(V, nan, XMEAN, 1);
        for (int j = 1; j <= V; ++j) DVEC_SET(V, nan, &cov(1, j), 1);
        symmetrise_incd();
        if (ICOPT <= 1)
            E1MES(3, 12,
                  "The sum of the weights is zero.  The means, variances and covariances are set to NaN (not a "
                  "number).");
        else
            E1MES(3, 13, "The sum of the weights is zero.  The means and correlations are set to NaN (not a number).");
        E1POP("dC2RVC");
        return;
    }

    for (int i = 1; i <= V; ++i) {
        if (flag[i] != 0.0) continue;
        cov(i, i) = 0.0;
        if (ICOPT >= 2) {
            MSG_SETI(1, i);
            E1MES(3, 14,
                  "Correlations are requested but the observations on variable %(I1) are constant.  The "
                  "pertinent correlation coefficients are set to NaN (not a number).");
        }
    }

    if (MOPT == 1) {
        for (int i = 1; i <= V; ++i) {
            for (int j = 1; j <= i; ++j) {
                const double n = PW ? pw(i, j) : incd(i, j);
                cov(i, j) = cov(i, j) + n * (XMEAN[i - 1] - pm(i, j)) * (XMEAN[j - 1] - pm(j, i));
            }
            if (cov(i, i) < 0.0) cov(i, i) = 0.0;
        }
    }

    // Observations behind an entry: the pair's count, or every row used.
    auto count = [&](int i, int j) { return pairwise ? incd(i, j) : NOBS; };

    if (ICOPT == 0) {
        for (int j = 1; j <= V; ++j) {
            for (int i = j; i <= V; ++i) {
                const int n = count(i, j);
                if (n < 2) {
                    cov(i, j) = nan;
                    E1MES(3, 15,
                          "Variances and covariances are requested but fewer than two valid observations are "
                          "present for a variable.  The pertinent statistics are set to NaN (not a number).");
                } else {
                    cov(i, j) = cov(i, j) / (n - 1);
                }
            }
        }
    } else if (ICOPT >= 2) {
        double* sd = first;
        if (ICOPT == 3)
            for (int i = 1; i <= V; ++i) {
                const int n = count(i, i);
                sd[i] = n >= 2 ? std::sqrt(cov(i, i) / (n - 1)) : nan;
            }
        for (int i = 2; i <= V; ++i) {
            for (int j = 1; j <= i - 1; ++j) {
                const bool neither_constant = flag[i] != 0.0 && flag[j] != 0.0;
                const int nij = count(i, j);
                double r;
                if (cov(i, i) == 0.0 || cov(j, j) == 0.0) {
                    r = nan;
                    if (neither_constant)
                        E1MES(3, 16,
                              "Correlations are requested but the observations on a variable are constant.  The "
                              "pertinent correlation coefficients are set to NaN (not a number).");
                } else if (nij < 2) {
                    r = nan;
                    if (neither_constant)
                        E1MES(3, 17,
                              "Correlations are requested but fewer than two valid observations are present for a "
                              "variable.  The pertinent correlation coefficients are set to NaN (not a number).");
                } else if (MOPT == 0) {
                    r = cov(i, j) / root_product(cov(i, i), cov(j, j));
                } else if (MOPT == 3) {
                    DSAFE_DIV(cov(i, j), std::sqrt(ps(i, j) * ps(j, i)), r);
                } else {
                    const double nii = count(i, i);
                    const double njj = count(j, j);
                    r = cov(i, j) * std::sqrt((nii - 1.0) * (njj - 1.0)) /
                        ((nij - 1.0) * root_product(cov(i, i), cov(j, j)));
                }
                if (!std::isnan(r)) {
                    if (r > 1.0) r = 1.0;
                    if (r < -1.0) r = -1.0;
                }
                cov(i, j) = r;
            }
        }
        // A single variable is its own correlation too.
        for (int i = 1; i <= V; ++i) cov(i, i) = ICOPT == 2 ? 1.0 : sd[i];
    }

    for (int j = 1; j <= V; ++j)
        for (int i = j + 1; i <= V; ++i) cov(j, i) = cov(i, j);
    symmetrise_incd();
    E1POP("dC2RVC");
}

}  // namespace vorm
