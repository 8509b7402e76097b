// How far the engine's item standard errors fall short of those of the
// information matrix over all the parameters of a job at once.
//
// The engine inverts each item's information matrix alone: the item's own
// parameters and the common ones, with every other item taken as known.  Here
// a simulated job of every model is calibrated by the engine, which also
// computes its standard errors; then the benchmark evaluates the model and
// each respondent's marginal log-likelihood over the engine's quadrature grid
// itself and forms, over every item and common parameter together,
//   - the cross-product of the respondents' score vectors, and
//   - the observed information, by central differences of the gradient of the
//     marginal log-likelihood;
// inverts each whole and prints, per model and parameter kind, the ratios of
// the engine's standard errors to those of the whole matrices.
//
// Its own evaluation is checked before it is trusted, and the checks print:
// its category probabilities against the engine's, its log-likelihood against
// the engine's (less the engine's ln N! term), its gradient against central
// differences of its log-likelihood, and the engine's per-item scheme applied
// to its cross-product against the engine's standard errors.  A failed check
// makes the exit status 1.
//
// Run (Release build):
//   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVORM_BENCH=ON
//   cmake --build build --target bench_stderr -j4
//   build/bench/bench_stderr [respondents items categories seed [replications]]
// The default job is 1500 respondents, 15 items of 5 categories, seed 31.
// The engine starts from the true locations' signs, without the constraint,
// and runs to the criterion 0.0001 (at most 500 outer cycles), so that its
// estimates stand at the maximum; the Newton step printed says how near.
// With replications R, the same items are calibrated again on R new samples
// of respondents, and each kind of standard error is set against the spread
// of the estimates over them: the one the spread bears out is the right one
// (R = 100 takes some minutes).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/io.h"
#include "estimation/Initvl.h"
#include "estimation/Mmlest.h"
#include "model/Marglike.h"
#include "model/Probm.h"
#include "model/Traits.h"
#include "run_state.h"
#include "simulated_job.h"
#include "statistics/Stderrc.h"

using namespace vorm;

namespace {

struct Design {
    int nsubj = 1500;
    int nitem = 15;
    int ncat = 5;
    std::uint64_t seed = 31;
};

enum Kind { Discrimination, Location, UnitKind, Threshold, KindCount };
const char* const kKindName[KindCount] = {"discrimination", "location", "unit", "thresholds"};

// Where each item's parameters stand in the vector of all parameters: the
// item's own ones item by item, in the engine's order within an item
// ([discrimination,] location, then unit or thresholds 1..K-1), and the
// common ones last.
struct Layout {
    ModelTraits m{};
    int nitem = 0;
    std::vector<int> K;
    std::vector<std::vector<int>> at;  // at[i][local] = index in the whole vector
    std::vector<Kind> kind;            // by index in the whole vector
    int lead() const { return m.discrimination ? 2 : 1; }
    int size() const { return static_cast<int>(kind.size()); }
};

Layout make_layout(const JobSettings& job) {
    Layout L;
    L.m = model_traits(job.MODEL);
    L.nitem = job.NITEM;
    const Kind tail_kind = L.m.unit ? UnitKind : Threshold;
    auto tail_count = [&L](int K) { return L.m.unit ? 1 : K - 1; };
    for (int i = 1; i <= job.NITEM; ++i) {
        L.K.push_back(job.NCAT(i));
        std::vector<int> at;
        if (L.m.discrimination) {
            at.push_back(L.size());
            L.kind.push_back(Discrimination);
        }
        at.push_back(L.size());
        L.kind.push_back(Location);
        if (!L.m.common)
            for (int k = 0; k < tail_count(job.NCAT(i)); ++k) {
                at.push_back(L.size());
                L.kind.push_back(tail_kind);
            }
        L.at.push_back(at);
    }
    if (L.m.common) {
        const int first = L.size();
        for (int k = 0; k < tail_count(job.NCAT(1)); ++k) L.kind.push_back(tail_kind);
        for (auto& at : L.at)
            for (int k = 0; k < tail_count(job.NCAT(1)); ++k) at.push_back(first + k);
    }
    return L;
}

// Values in the layout's order: value(kind, i, k) for item i (from 1), k the
// threshold's number (1 for the others).
template <class Value>
std::vector<double> in_layout_order(const Layout& L, Value value) {
    std::vector<double> x(static_cast<std::size_t>(L.size()));
    for (int i = 0; i < L.nitem; ++i) {
        const auto& at = L.at[static_cast<std::size_t>(i)];
        for (std::size_t p = 0; p < at.size(); ++p) {
            const int tail = static_cast<int>(p) - L.lead() + 1;  // 1.. for the unit or the thresholds
            x[at[p]] = value(L.kind[at[p]], i + 1, std::max(tail, 1));
        }
    }
    return x;
}

std::vector<double> estimates(const Layout& L, const Store& st) {
    return in_layout_order(L, [&L, &st](Kind kind, int i, int k) {
        switch (kind) {
            case Discrimination:
                return st.ALPHA(i);
            case Location:
                return st.DELTA(i);
            case UnitKind:
                return L.m.common ? st.UNIT : st.LAMBDA(i);
            default:
                return L.m.common ? st.TAUC(k) : st.TAU(i, k);
        }
    });
}

// The engine's standard errors; those of the common parameters stand in row 1.
std::vector<double> engine_errors(const Layout& L, const Store& st) {
    return in_layout_order(L, [&L, &st](Kind kind, int i, int k) {
        const int row = L.m.common ? 1 : i;
        switch (kind) {
            case Discrimination:
                return st.ASTD(i);
            case Location:
                return st.DSTD(i);
            case UnitKind:
                return st.LSTD(row);
            default:
                return st.TAUSTD(row, k);
        }
    });
}

// ln P(c) of one item at theta, and its derivatives by the item's parameters
// v (in the layout's order within the item), c = 0..K-1.  Each category's
// weight is exp(a(E + c d)) + exp(a(E + (M - c) d)) with d = theta - delta,
// M = 2K - 1 and E = unit c (M - c) or minus the sum of thresholds 1..c; it is
// taken on a log scale, so no exponential overflows.
void item_terms(const ModelTraits& m, int K, const double* v, double theta, double* lnp, double* dlnp) {
    constexpr int kMax = MAXCAT + 1;
    const int lead = m.discrimination ? 2 : 1;
    const int n = lead + (m.unit ? 1 : K - 1);
    const double a = m.discrimination ? v[0] : 1.0;
    const double d = theta - v[lead - 1];
    const int M = 2 * K - 1;
    double lw[MAXCAT], dlw[MAXCAT][kMax];
    double E = 0.0;
    for (int c = 0; c < K; ++c) {
        if (m.unit)
            E = v[lead] * c * (M - c);
        else if (c > 0)
            E -= v[lead + c - 1];
        const double u = a * (E + c * d), w = a * (E + (M - c) * d);
        const double hi = std::max(u, w);
        lw[c] = hi + std::log1p(std::exp(std::min(u, w) - hi));
        const double su = std::exp(u - lw[c]), sw = std::exp(w - lw[c]);  // shares of the two terms
        if (m.discrimination) dlw[c][0] = su * (E + c * d) + sw * (E + (M - c) * d);
        dlw[c][lead - 1] = -a * (su * c + sw * (M - c));
        if (m.unit)
            dlw[c][lead] = a * c * (M - c);
        else
            for (int k = 1; k < K; ++k) dlw[c][lead + k - 1] = k <= c ? -a : 0.0;
    }
    const double top = *std::max_element(lw, lw + K);
    double sum = 0.0;
    for (int c = 0; c < K; ++c) sum += std::exp(lw[c] - top);
    const double lnsum = top + std::log(sum);
    double P[MAXCAT];
    for (int c = 0; c < K; ++c) {
        lnp[c] = lw[c] - lnsum;
        P[c] = std::exp(lnp[c]);
    }
    for (int p = 0; p < n; ++p) {
        double mean = 0.0;
        for (int c = 0; c < K; ++c) mean += P[c] * dlw[c][p];
        for (int c = 0; c < K; ++c) dlnp[c * n + p] = dlw[c][p] - mean;
    }
}

// The job as the benchmark sees it: the responses, the grid, the layout.
struct Problem {
    Layout L;
    int nsubj = 0;
    std::vector<double> X, lnW;       // quadrature points and log weights
    std::vector<std::vector<int>> x;  // responses x[j][i], negative = missing
    int nq() const { return static_cast<int>(X.size()); }
};

// Sum over the respondents of ln(sum over q of W(q) prod over items of P(x)),
// and, when asked, its gradient and the cross-product of the respondents'
// gradients (each respondent's score vector), row-major.
double evaluate(const Problem& pb, const std::vector<double>& par, std::vector<double>* grad,
                std::vector<double>* cross) {
    const Layout& L = pb.L;
    const int nq = pb.nq(), P = L.size();
    constexpr int kN = MAXCAT + 1;
    // Tables by item, category, then point (so each sum over the points is contiguous).
    std::vector<double> lnp(static_cast<std::size_t>(L.nitem) * MAXCAT * nq);
    std::vector<double> dlnp(static_cast<std::size_t>(L.nitem) * MAXCAT * kN * nq);
    auto lnp_at = [&](int i, int c) { return &lnp[(static_cast<std::size_t>(i) * MAXCAT + c) * nq]; };
    auto dlnp_at = [&](int i, int c, int p) {
        return &dlnp[((static_cast<std::size_t>(i) * MAXCAT + c) * kN + p) * nq];
    };
    for (int i = 0; i < L.nitem; ++i) {
        const auto& at = L.at[static_cast<std::size_t>(i)];
        const int K = L.K[static_cast<std::size_t>(i)], n = static_cast<int>(at.size());
        double v[kN], lp[MAXCAT], dlp[MAXCAT * kN];
        for (int p = 0; p < n; ++p) v[p] = par[at[p]];
        for (int q = 0; q < nq; ++q) {
            item_terms(L.m, K, v, pb.X[q], lp, dlp);
            for (int c = 0; c < K; ++c) {
                lnp_at(i, c)[q] = lp[c];
                for (int p = 0; p < n; ++p) dlnp_at(i, c, p)[q] = dlp[c * n + p];
            }
        }
    }
    if (grad) grad->assign(static_cast<std::size_t>(P), 0.0);
    if (cross) cross->assign(static_cast<std::size_t>(P) * P, 0.0);
    std::vector<double> lq(static_cast<std::size_t>(nq)), score(static_cast<std::size_t>(P));
    double total = 0.0;
    for (int j = 0; j < pb.nsubj; ++j) {
        const auto& xj = pb.x[static_cast<std::size_t>(j)];
        for (int q = 0; q < nq; ++q) lq[q] = pb.lnW[q];
        for (int i = 0; i < L.nitem; ++i)
            if (xj[i] >= 0) {
                const double* t = lnp_at(i, xj[i]);
                for (int q = 0; q < nq; ++q) lq[q] += t[q];
            }
        const double top = *std::max_element(lq.begin(), lq.end());
        double sum = 0.0;
        for (int q = 0; q < nq; ++q) sum += std::exp(lq[q] - top);
        const double lj = top + std::log(sum);
        total += lj;
        if (!grad && !cross) continue;
        // The respondent's posterior over the points weights each item's terms.
        for (int q = 0; q < nq; ++q) lq[q] = std::exp(lq[q] - lj);
        std::fill(score.begin(), score.end(), 0.0);
        for (int i = 0; i < L.nitem; ++i) {
            if (xj[i] < 0) continue;
            const auto& at = L.at[static_cast<std::size_t>(i)];
            for (int p = 0; p < static_cast<int>(at.size()); ++p) {
                const double* t = dlnp_at(i, xj[i], p);
                double s = 0.0;
                for (int q = 0; q < nq; ++q) s += lq[q] * t[q];
                score[at[p]] += s;
            }
        }
        if (grad)
            for (int a = 0; a < P; ++a) (*grad)[a] += score[a];
        if (cross)
            for (int a = 0; a < P; ++a)
                for (int b = a; b < P; ++b) (*cross)[static_cast<std::size_t>(a) * P + b] += score[a] * score[b];
    }
    if (cross)
        for (int a = 0; a < P; ++a)
            for (int b = 0; b < a; ++b)
                (*cross)[static_cast<std::size_t>(a) * P + b] = (*cross)[static_cast<std::size_t>(b) * P + a];
    return total;
}

// Inverse of a symmetric positive definite matrix (row-major, order n) by its
// Cholesky factor; false when the matrix is not positive definite.
bool spd_inverse(const std::vector<double>& A, int n, std::vector<double>& inv) {
    std::vector<double> Lf(static_cast<std::size_t>(n) * n, 0.0);
    auto l = [&Lf, n](int r, int c) -> double& { return Lf[static_cast<std::size_t>(r) * n + c]; };
    for (int c = 0; c < n; ++c) {
        double s = A[static_cast<std::size_t>(c) * n + c];
        for (int k = 0; k < c; ++k) s -= l(c, k) * l(c, k);
        if (!(s > 0.0)) return false;
        l(c, c) = std::sqrt(s);
        for (int r = c + 1; r < n; ++r) {
            double t = A[static_cast<std::size_t>(r) * n + c];
            for (int k = 0; k < c; ++k) t -= l(r, k) * l(c, k);
            l(r, c) = t / l(c, c);
        }
    }
    inv.assign(static_cast<std::size_t>(n) * n, 0.0);
    std::vector<double> y(static_cast<std::size_t>(n));
    for (int col = 0; col < n; ++col) {
        for (int r = 0; r < n; ++r) {
            double t = r == col ? 1.0 : 0.0;
            for (int k = 0; k < r; ++k) t -= l(r, k) * y[k];
            y[r] = t / l(r, r);
        }
        for (int r = n - 1; r >= 0; --r) {
            double t = y[r];
            for (int k = r + 1; k < n; ++k) t -= l(k, r) * inv[static_cast<std::size_t>(k) * n + col];
            inv[static_cast<std::size_t>(r) * n + col] = t / l(r, r);
        }
    }
    return true;
}

std::vector<double> diagonal_errors(const std::vector<double>& inv, int n) {
    std::vector<double> se(static_cast<std::size_t>(n));
    for (int a = 0; a < n; ++a) se[a] = std::sqrt(inv[static_cast<std::size_t>(a) * n + a]);
    return se;
}

// The engine's scheme on a whole matrix: each item's block (its own and the
// common parameters) inverted alone; a common parameter's variance is the
// mean of the items' variances for it.
std::vector<double> per_item_errors(const Layout& L, const std::vector<double>& info) {
    const int P = L.size();
    std::vector<double> var(static_cast<std::size_t>(P), 0.0);
    for (const auto& at : L.at) {
        const int n = static_cast<int>(at.size());
        std::vector<double> block(static_cast<std::size_t>(n) * n), inv;
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b)
                block[static_cast<std::size_t>(a) * n + b] = info[static_cast<std::size_t>(at[a]) * P + at[b]];
        if (!spd_inverse(block, n, inv)) return std::vector<double>(static_cast<std::size_t>(P), std::nan(""));
        for (int a = 0; a < n; ++a) {
            const double v = inv[static_cast<std::size_t>(a) * n + a];
            const bool common = L.m.common && a >= L.lead();
            var[at[a]] += common ? v / L.nitem : v;
        }
    }
    for (double& v : var) v = std::sqrt(v);
    return var;
}

double median(std::vector<double> v) {
    if (v.empty()) return std::nan("");
    std::sort(v.begin(), v.end());
    const std::size_t h = v.size() / 2;
    return v.size() % 2 ? v[h] : 0.5 * (v[h - 1] + v[h]);
}

double max_relative_difference(const std::vector<double>& a, const std::vector<double>& b) {
    double worst = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k) worst = std::max(worst, std::fabs(a[k] - b[k]) / std::fabs(b[k]));
    return worst;
}

struct Run : bench::RunState {
    Io io{con, in};
    Run() { io.units.open_in_memory(); }
};

// One calibration by the engine (estimates, standard errors, marginal
// log-likelihood), and the job as the benchmark sees it.
struct Calibration {
    Run r;
    Problem pb;
    std::vector<double> est, engine;
    int cycles = -1;
    bool cycle_limit = false;
    double xlogl = 0.0;
};

std::unique_ptr<Calibration> calibrate(int model, const Design& z, std::uint64_t data_seed,
                                       const std::filesystem::path& folder) {
    auto cal = std::make_unique<Calibration>();
    Run& r = cal->r;
    JobSettings& job = *r.job;
    Store& st = *r.st;
    test::fill_simulated(job, st, model, std::vector<int>(static_cast<std::size_t>(z.nitem), z.ncat), z.nsubj, 0.0,
                         z.seed, data_seed);
    // The true locations give the signs, so every model starts on the right side.
    for (int i = 1; i <= job.NITEM; ++i) job.ISIGN(i) = st.DELTA(i) < 0 ? 0 : 1;
    job.ISGNSP = 1;
    job.SIGNR = 1.0;
    job.LCATC = -1;
    job.ICONST = 0;
    job.MAXOUT = 500;
    job.MAXIN = 10;
    job.MAXFSU = job.MAXFST = job.MAXFSI = 10;
    job.CONVC = 0.0001;
    std::filesystem::create_directories(folder);
    job.WRKDIR = folder.string() + "/";
    job.LWRK = static_cast<int>(job.WRKDIR.size());
    INITVL(r.io, job, st, r.ws->start);
    MMLEST(r.io, job, st, r.ws->estimation, r.ws->ptab);
    STDERRC(r.io, job, st, r.ws->stderrs, r.ws->ptab);
    cal->xlogl = MARGLIKE(r.con, fitted_model(job, st), r.ws->ptab);
    const std::string report = r.io.units.contents(Unit::FT06);
    const auto met = report.rfind("CRITERION MET AFTER ");
    if (met != std::string::npos) cal->cycles = std::atoi(report.c_str() + met + 20);
    cal->cycle_limit = report.find("MAXIMUM NUMBER OF ITERATIONS EXCEEDED") != std::string::npos;

    Problem& pb = cal->pb;
    pb.L = make_layout(job);
    pb.nsubj = job.NSUBJ;
    for (int q = 1; q <= job.NQUAD; ++q) {
        pb.X.push_back(st.XQUAD(q));
        pb.lnW.push_back(std::log(st.WQUAD(q)));
    }
    for (int j = 1; j <= job.NSUBJ; ++j) {
        std::vector<int> row;
        for (int i = 1; i <= job.NITEM; ++i) row.push_back(st.RESP(j, i));
        pb.x.push_back(row);
    }
    cal->est = estimates(pb.L, st);
    cal->engine = engine_errors(pb.L, st);
    return cal;
}

// The information over all the parameters at once, at the estimates, and the
// standard errors from its inverse (NaN where it is not positive definite).
struct Whole {
    double loglik = 0.0;
    std::vector<double> grad, cross, observed, inv_observed;
    std::vector<double> se_cross, se_obs;
    bool cross_ok = false, observed_ok = false;
    double asymmetry = 0.0;  // of the differenced observed information, relative to its largest entry
};

Whole whole_information(const Problem& pb, const std::vector<double>& est) {
    Whole w;
    const int P = pb.L.size();
    w.loglik = evaluate(pb, est, &w.grad, &w.cross);
    // The observed information: central differences of the gradient, made symmetric.
    w.observed.resize(static_cast<std::size_t>(P) * P);
    for (int k = 0; k < P; ++k) {
        constexpr double h = 1e-4;
        std::vector<double> up = est, down = est, gu, gd;
        up[k] += h;
        down[k] -= h;
        evaluate(pb, up, &gu, nullptr);
        evaluate(pb, down, &gd, nullptr);
        for (int a = 0; a < P; ++a) w.observed[static_cast<std::size_t>(a) * P + k] = -(gu[a] - gd[a]) / (2 * h);
    }
    double largest = 0.0;
    for (int a = 0; a < P; ++a)
        for (int b = 0; b < a; ++b) {
            double& ab = w.observed[static_cast<std::size_t>(a) * P + b];
            double& ba = w.observed[static_cast<std::size_t>(b) * P + a];
            w.asymmetry = std::max(w.asymmetry, std::fabs(ab - ba));
            ab = ba = 0.5 * (ab + ba);
        }
    for (double v : w.observed) largest = std::max(largest, std::fabs(v));
    w.asymmetry /= largest;

    std::vector<double> inv_cross;
    w.cross_ok = spd_inverse(w.cross, P, inv_cross);
    w.observed_ok = spd_inverse(w.observed, P, w.inv_observed);
    const std::vector<double> none(static_cast<std::size_t>(P), std::nan(""));
    w.se_cross = w.cross_ok ? diagonal_errors(inv_cross, P) : none;
    w.se_obs = w.observed_ok ? diagonal_errors(w.inv_observed, P) : none;
    return w;
}

// Bounds the checks must meet; each is far above what rounding leaves and far
// below what a wrong derivative or a wrong term would give.
constexpr double kProbabilityTolerance = 1e-12;
constexpr double kLoglikTolerance = 1e-6;
constexpr double kGradientTolerance = 1e-5;
constexpr double kSchemeTolerance = 1e-6;

// Prints the checks of the benchmark's own evaluation on one calibration and
// returns whether they pass.
bool check(Calibration& cal, const Whole& w) {
    const Problem& pb = cal.pb;
    const Layout& L = pb.L;
    const int P = L.size();
    JobSettings& job = *cal.r.job;
    Store& st = *cal.r.st;

    double prob_diff = 0.0;
    ModelValues mv;
    for (int i = 0; i < L.nitem; ++i) {
        const int K = L.K[static_cast<std::size_t>(i)];
        const auto& at = L.at[static_cast<std::size_t>(i)];
        double v[MAXCAT + 1], lp[MAXCAT], dlp[MAXCAT * (MAXCAT + 1)];
        for (std::size_t p = 0; p < at.size(); ++p) v[p] = cal.est[at[p]];
        for (int q = 1; q <= job.NQUAD; ++q) {
            PROBM(mv, st, job.MODEL, q, i + 1, K, st.UNIT, st.TAUC, st.XQUAD.data());
            item_terms(L.m, K, v, st.XQUAD(q), lp, dlp);
            for (int c = 0; c < K; ++c) prob_diff = std::max(prob_diff, std::fabs(std::exp(lp[c]) - mv.PROB(c)));
        }
    }

    const double loglik_diff = std::fabs(w.loglik - (cal.xlogl - std::lgamma(job.NSUBJ + 1.0)));

    // Away from the maximum, where the gradient is far from zero.
    std::vector<double> away = cal.est, g_away;
    for (int k = 0; k < P; ++k) away[k] += 0.05 * ((k % 3) - 1);
    evaluate(pb, away, &g_away, nullptr);
    double grad_err = 0.0, grad_size = 0.0;
    for (int k = 0; k < P; ++k) {
        constexpr double h = 1e-5;
        std::vector<double> up = away, down = away;
        up[k] += h;
        down[k] -= h;
        const double fd = (evaluate(pb, up, nullptr, nullptr) - evaluate(pb, down, nullptr, nullptr)) / (2 * h);
        grad_err = std::max(grad_err, std::fabs(fd - g_away[k]));
        grad_size = std::max(grad_size, std::fabs(g_away[k]));
    }
    const double grad_rel = grad_err / grad_size;

    const double scheme_diff = max_relative_difference(per_item_errors(L, w.cross), cal.engine);

    // How far the engine's estimates lie from the maximum: one Newton step, in
    // standard errors.
    double newton = std::nan("");
    if (w.observed_ok) {
        newton = 0.0;
        for (int a = 0; a < P; ++a) {
            double step = 0.0;
            for (int b = 0; b < P; ++b) step += w.inv_observed[static_cast<std::size_t>(a) * P + b] * w.grad[b];
            newton = std::max(newton, std::fabs(step) / w.se_obs[a]);
        }
    }

    const bool pass = prob_diff <= kProbabilityTolerance && loglik_diff <= kLoglikTolerance &&
                      grad_rel <= kGradientTolerance && scheme_diff <= kSchemeTolerance && w.cross_ok && w.observed_ok;
    std::printf("  checks: probabilities vs engine %.1e; ln L vs engine %.1e; gradient vs differences %.1e;\n",
                prob_diff, loglik_diff, grad_rel);
    std::printf("          engine's per-item scheme on our cross-product vs engine's errors %.1e;\n", scheme_diff);
    std::printf("          observed information asymmetry %.1e of its largest entry; Newton step %.3f SE  %s\n",
                w.asymmetry, newton, pass ? "pass" : "FAIL");
    return pass;
}

struct ModelResult {
    bool checks_pass = false;
    double location_median[2] = {std::nan(""), std::nan("")};  // cross-product, observed
};

ModelResult run_model(int model, const Design& z, const std::filesystem::path& folder) {
    auto cal = calibrate(model, z, 0, folder);
    const Whole w = whole_information(cal->pb, cal->est);
    const Layout& L = cal->pb.L;
    const int P = L.size();
    std::printf("Model %d: %d parameters; engine: %d outer cycles%s; ln L = %.4f\n", model, P, cal->cycles,
                cal->cycle_limit ? " (cycle limit reached)" : "", w.loglik);
    ModelResult res;
    res.checks_pass = check(*cal, w);
    std::printf("  %-15s %4s   %-29s %-29s\n", "kind", "n", "engine / cross-product", "engine / observed");
    std::printf("  %-15s %4s   %-29s %-29s\n", "", "", "median (min - max)", "median (min - max)");
    for (int kd = 0; kd < KindCount; ++kd) {
        std::vector<double> rc, ro;
        for (int a = 0; a < P; ++a)
            if (L.kind[a] == kd) {
                rc.push_back(cal->engine[a] / w.se_cross[a]);
                ro.push_back(cal->engine[a] / w.se_obs[a]);
            }
        if (rc.empty()) continue;
        const auto [c_lo, c_hi] = std::minmax_element(rc.begin(), rc.end());
        const auto [o_lo, o_hi] = std::minmax_element(ro.begin(), ro.end());
        std::printf("  %-15s %4zu   %.3f (%.3f - %.3f)         %.3f (%.3f - %.3f)\n", kKindName[kd], rc.size(),
                    median(rc), *c_lo, *c_hi, median(ro), *o_lo, *o_hi);
        if (kd == Location) {
            res.location_median[0] = median(rc);
            res.location_median[1] = median(ro);
        }
    }
    std::printf("\n");
    return res;
}

// Which standard errors the estimates' actual spread bears out: the same
// items, new samples of respondents.  Per parameter the standard deviation of
// the estimates over the replications against the mean of each kind of
// standard error; the median over the parameters of a kind is printed.
void replicate(int model, const Design& z, int replications, const std::filesystem::path& folder) {
    std::vector<std::vector<double>> est, engine, cross, observed;
    int cycle_limit = 0, not_definite = 0;
    Layout L;
    for (int rep = 1; rep <= replications; ++rep) {
        auto cal = calibrate(model, z, z.seed + 1000 * static_cast<std::uint64_t>(rep), folder);
        const Whole w = whole_information(cal->pb, cal->est);
        // Estimates short of the maximum, or without standard errors, are no sample of the estimator.
        if (cal->cycle_limit || !w.cross_ok || !w.observed_ok) {
            ++(cal->cycle_limit ? cycle_limit : not_definite);
            continue;
        }
        L = cal->pb.L;
        est.push_back(cal->est);
        engine.push_back(cal->engine);
        cross.push_back(w.se_cross);
        observed.push_back(w.se_obs);
    }
    const int n = static_cast<int>(est.size());
    std::printf("Model %d: %d replications used", model, n);
    if (cycle_limit) std::printf("; %d left out at the cycle limit", cycle_limit);
    if (not_definite) std::printf("; %d left out with an information not positive definite", not_definite);
    std::printf("\n");
    if (n < 2) return;
    auto mean = [n](const std::vector<std::vector<double>>& v, int a) {
        double s = 0.0;
        for (const auto& r : v) s += r[a];
        return s / n;
    };
    std::printf("  %-15s %4s   %-22s %-22s %-22s\n", "kind", "n", "engine / spread", "cross-product / spread",
                "observed / spread");
    for (int kd = 0; kd < KindCount; ++kd) {
        std::vector<double> re, rc, ro;
        for (int a = 0; a < L.size(); ++a) {
            if (L.kind[a] != kd) continue;
            const double m = mean(est, a);
            double ss = 0.0;
            for (const auto& r : est) ss += (r[a] - m) * (r[a] - m);
            const double spread = std::sqrt(ss / (n - 1));
            re.push_back(mean(engine, a) / spread);
            rc.push_back(mean(cross, a) / spread);
            ro.push_back(mean(observed, a) / spread);
        }
        if (re.empty()) continue;
        std::printf("  %-15s %4zu   %-22.3f %-22.3f %-22.3f\n", kKindName[kd], re.size(), median(re), median(rc),
                    median(ro));
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    Design z;
    int replications = 0;
    if (argc == 5 || argc == 6) {
        z.nsubj = std::atoi(argv[1]);
        z.nitem = std::atoi(argv[2]);
        z.ncat = std::atoi(argv[3]);
        z.seed = std::strtoull(argv[4], nullptr, 10);
        if (argc == 6) replications = std::atoi(argv[5]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: bench_stderr [respondents items categories seed [replications]]\n");
        return 2;
    }
    if (z.nsubj < 2 || z.nsubj > MAXSUBJ || z.nitem < 2 || z.nitem > MAXITEM || z.ncat < 2 || z.ncat > MAXCAT) {
        std::fprintf(stderr, "bench_stderr: at most %d respondents, %d items, %d categories\n", MAXSUBJ, MAXITEM,
                     MAXCAT);
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() / "vorm_stderr_bench";
    std::printf("Standard errors: the engine's (each item's information alone) against the whole information\n");
    std::printf("%d respondents, %d items of %d categories, 30 quadrature points, seed %llu\n\n", z.nsubj, z.nitem,
                z.ncat, static_cast<unsigned long long>(z.seed));
    bool pass = true;
    std::vector<double> by_model[2];
    for (int model = 1; model <= 8; ++model) {
        const ModelResult res = run_model(model, z, folder / std::to_string(model));
        pass = pass && res.checks_pass;
        for (int k = 0; k < 2; ++k) by_model[k].push_back(res.location_median[k]);
    }
    std::printf("Location, engine / whole, median by model:\n");
    std::printf("  %-16s", "model");
    for (int model = 1; model <= 8; ++model) std::printf("%7d", model);
    std::printf("%9s%9s\n", "lowest", "highest");
    const char* const source[2] = {"cross-product", "observed"};
    for (int k = 0; k < 2; ++k) {
        std::printf("  %-16s", source[k]);
        for (double v : by_model[k]) std::printf("%7.3f", v);
        const auto [lo, hi] = std::minmax_element(by_model[k].begin(), by_model[k].end());
        std::printf("%9.3f%9.3f\n", *lo, *hi);
    }
    std::printf("%s\n", pass ? "All checks pass." : "A CHECK FAILED: the figures above are not to be trusted.");
    if (replications > 0) {
        std::printf("\nStandard errors against the spread of the estimates over %d new samples of respondents\n\n",
                    replications);
        for (int model = 1; model <= 8; ++model) replicate(model, z, replications, folder / std::to_string(model));
    }
    return pass ? 0 : 1;
}
