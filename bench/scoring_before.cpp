// The scoring steps as they were before each point's exponentials were shared
// by the probabilities and the derivatives: the probability and derivative
// routines are called one by one at every point, and the threshold
// information is accumulated in its former order of memory.  Kept only to
// measure the shared evaluation against; the arithmetic and its order are
// the same, so both give the same bits.
#include "scoring_before.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/status.h"
#include "common/textio.h"
#include "estimation/Dmult.h"
#include "estimation/Invert.h"
#include "model/Dp.h"
#include "model/Probm.h"

namespace vorm::before {

namespace {

// Work storage of the steps, kept for the whole run.
double FINFO[9 * 9];
double FINV[9 * 9];
double FGRAD[9];
double FSTEP[9];
double DAINFO[2 * 2];
double DAINV[2 * 2];
double DAGRAD[2];
double DASTEP[2];
double TMEAN[MAXCAT];
int IERINV = 0;
ModelValues mv;  // what each probability and derivative call writes

ScoringStage* g_stage = nullptr;
const ScoringSettings* g_settings = nullptr;  // the model being estimated and its criterion

void warn(Io& io, const JobSettings& job, const std::vector<Val>& items) {
    std::string line = format_free(items);
    write_status(job.WRKDIR, {line});
    if (g_stage->reported.insert(line).second) io.report() << line << '\n';
}

double clamp(double x, double lim) { return std::max(-lim, std::min(lim, x)); }

int threshold_limit(const JobSettings& job, const ScoringSettings& s) {
    return job.MAXFST + ((s.NCYCLE == 1 && s.n >= 1 && s.n <= 5) ? 15 : 0);
}
int unit_limit(const JobSettings& job, const ScoringSettings& s) {
    return job.MAXFSU + ((s.NCYCLE == 1 && s.n >= 1 && s.n <= 5) ? 15 : 0);
}
int location_limit(const JobSettings& job, const ScoringSettings& s) {
    return job.MAXFSI + ((s.NCYCLE == 1 && s.n == 1) ? 5 : 0);
}

// Adds item i's terms at point q to a one-parameter score G and information I;
// d(c) is the parameter's derivative of category c's probability.
template <class Deriv>
void add_one_parameter_terms(const ModelValues& mv, const ExpectedCounts& ec, int q, int i, int K, Deriv d, double& G,
                             double& I) {
    const double nbar = ec.NBAR(q, i);
    for (int c = 0; c < K; ++c) {
        const double dc = d(c);
        const double p = mv.PROB(c);
        I += nbar * dc * dc / p;
        G += ec.RBAR(q, i, c) * dc / p;
    }
}

// One update of a single parameter; true when its iteration is over: the
// unclamped step met the criterion, or it is not finite, in which case it is
// reported like a singular matrix and not applied.
template <class Warning>
bool apply_one_parameter_step(Io& io, const JobSettings& job, double G, double I, double& param, Warning warning) {
    const double step = G / I;
    if (!std::isfinite(step)) {
        warn(io, job, warning());
        return true;
    }
    const bool done = std::fabs(step) <= g_settings->CONVC;
    param += clamp(step, 1.0);
    return done;
}

// Adds item i's terms at point q to a threshold system of order N, with the
// derivatives in DPLT rows 1..N; the matrix is formed on and above the diagonal.
void add_threshold_terms(const ModelValues& mv, const ExpectedCounts& ec, int q, int i, int K, int N) {
    const double nbar = ec.NBAR(q, i);
    for (int c = 0; c < K; ++c) {
        const double p = mv.PROB(c);
        const double rbar = ec.RBAR(q, i, c);
        for (int a = 1; a <= N; ++a) {
            const double da = mv.DPLT(a, c);
            FGRAD[a - 1] += rbar * da / p;
            for (int b = a; b <= N; ++b) FINFO[(a - 1) + (b - 1) * 9] += nbar * da * mv.DPLT(b, c) / p;
        }
    }
}

void clear_threshold_system(int N) {
    for (int b = 0; b < N; ++b) {
        FGRAD[b] = 0.0;
        for (int a = 0; a < N; ++a) FINFO[a + b * 9] = 0.0;
    }
}

void mirror_threshold_system(int N) {
    for (int b = 1; b < N; ++b)
        for (int a = 0; a < b; ++a) FINFO[b + a * 9] = FINFO[a + b * 9];
}

bool all_finite(const double* v, int n) {
    for (int k = 0; k < n; ++k)
        if (!std::isfinite(v[k])) return false;
    return true;
}

// Solves the threshold system, writes its status line on a failed inversion
// and applies the clamped step to tau(1..N).  Returns 1 when converged, 0 when
// not, -1 when the step was not finite and was not applied.
// The status record is built only when it is needed, so that the iterations
// themselves allocate nothing.
template <class Record>
int apply_threshold_step(Io& io, const JobSettings& job, double* tau, int N, Record singular) {
    mirror_threshold_system(N);
    INVERT(io.con, FINFO, FINV, N, 9, IERINV);
    if (IERINV != 0) warn(io, job, singular());
    DMULT(io.con, FGRAD, 1, 1, N, 9, FINV, N, 9, N, 9, FSTEP);
    if (!all_finite(FSTEP, N)) {
        if (IERINV == 0) warn(io, job, singular());
        return -1;
    }
    bool done = true;
    for (int k = 1; k <= N; ++k) {
        if (std::fabs(FSTEP[k - 1]) > g_settings->CONVC) done = false;
        FSTEP[k - 1] = clamp(FSTEP[k - 1], 1.0);
        tau[k] += FSTEP[k - 1];
    }
    return done ? 1 : 0;
}

void score_common_thresholds(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s) {
    const ExpectedCounts& ec = g_stage->counts;
    const int K = s.NCAT0;
    const int N = K - 1;
    if (N < 1) return;
    auto singular = [&] {
        return s.MODEL == 3 ? std::vector<Val>{" SINGULARITY WHEN INVERTING CONSTANT", " TAUS IN MODEL 3"}
                            : std::vector<Val>{" SINGULARITY WHEN INVERTING", " CONSTANT TAUS IN MODEL 7"};
    };
    const int limit = threshold_limit(job, s);
    for (int it = 1; it <= limit; ++it) {
        clear_threshold_system(N);
        for (int i = 1; i <= job.NITEM; ++i)
            for (int q = 1; q <= job.NQUAD; ++q) {
                DPTAU(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                PROBM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                add_threshold_terms(mv, ec, q, i, K, N);
            }
        if (apply_threshold_step(io, job, st.TAUC.data(), N, singular) != 0) break;
    }
}

void score_item_thresholds(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s) {
    const ExpectedCounts& ec = g_stage->counts;
    const int limit = threshold_limit(job, s);
    const char* head = s.MODEL == 4 ? " SINGULARITY WHEN INVERTING" : " SINGULARITY WHEN INVERTING ";
    const char* tail = s.MODEL == 4 ? " IN MODEL 4" : " IN MODEL 8";
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        const int N = K - 1;
        if (N < 1 || K > MAXCAT) continue;  // data input keeps K within 2..10
        // TAU(i, k) for k = 0..9 is contiguous only across items, so the row is
        // worked on in a copy and stored back after each step.
        double row[MAXCAT];
        for (int iter = 1; iter <= limit; ++iter) {
            clear_threshold_system(N);
            for (int q = 1; q <= job.NQUAD; ++q) {
                DPTAU(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                PROBM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                add_threshold_terms(mv, ec, q, i, K, N);
            }
            for (int k = 0; k < K; ++k) row[k] = st.TAU(i, k);
            int r = apply_threshold_step(io, job, row, N, [&] {
                return std::vector<Val>{head, " TAUS FOR ITEM #", i, tail};
            });
            for (int k = 1; k < K; ++k) st.TAU(i, k) = row[k];
            if (r != 0) break;
        }
    }
}

void score_common_unit(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s) {
    const ExpectedCounts& ec = g_stage->counts;
    const int K = s.NCAT0;
    const int limit = unit_limit(job, s);
    const auto by_unit = [](int c) { return mv.DPLT(1, c); };
    for (int it = 1; it <= limit; ++it) {
        double G = 0.0, I = 0.0;
        for (int i = 1; i <= job.NITEM; ++i)
            for (int q = 1; q <= job.NQUAD; ++q) {
                DPLAM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                PROBM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                add_one_parameter_terms(mv, ec, q, i, K, by_unit, G, I);
            }
        if (apply_one_parameter_step(io, job, G, I, st.UNIT, [&] {
                return std::vector<Val>{" SINGULARITY WHEN INVERTING", " UNIT IN MODEL ", s.MODEL};
            }))
            break;
    }
}

void score_item_units(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s) {
    const ExpectedCounts& ec = g_stage->counts;
    const int limit = unit_limit(job, s);
    const auto by_unit = [](int c) { return mv.DPLT(1, c); };
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        for (int it = 1; it <= limit; ++it) {
            double G = 0.0, I = 0.0;
            for (int q = 1; q <= job.NQUAD; ++q) {
                DPLAM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                PROBM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                add_one_parameter_terms(mv, ec, q, i, K, by_unit, G, I);
            }
            if (apply_one_parameter_step(io, job, G, I, st.LAMBDA(i), [&] {
                    return std::vector<Val>{" SINGULARITY WHEN INVERTING", " UNIT FOR ITEM #", i, " IN MODEL ",
                                            s.MODEL};
                }))
                break;
        }
    }
}

void recentre(const JobSettings& job, Store& st, const ScoringSettings& s) {
    const int n = job.NITEM;
    if (n < 1) return;
    if (s.MODEL == 4 || s.MODEL == 8) {
        for (int k = 0; k < s.NCAT0; ++k) {
            double m = 0.0;
            for (int i = 1; i <= n; ++i) m += st.TAU(i, k) * (1.0 / n);
            TMEAN[k] = m;
        }
        for (int k = 0; k < s.NCAT0; ++k)
            for (int i = 1; i <= n; ++i) st.TAU(i, k) = (st.TAU(i, k) - TMEAN[k]) + st.TAUC(k);
    } else {
        double m = 0.0;
        for (int i = 1; i <= n; ++i) m += st.LAMBDA(i) * (1.0 / n);
        for (int i = 1; i <= n; ++i) st.LAMBDA(i) = (st.LAMBDA(i) - m) + st.UNIT;
    }
}

void score_locations(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s) {
    const ExpectedCounts& ec = g_stage->counts;
    const int limit = location_limit(job, s);
    const bool common = s.MODEL == 1 || s.MODEL == 3;
    const auto by_location = [](int c) { return mv.DPAD(2, c); };
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = common ? s.NCAT0 : job.NCAT(i);
        for (int it = 1; it <= limit; ++it) {
            double G = 0.0, I = 0.0;
            for (int q = 1; q <= job.NQUAD; ++q) {
                PROBM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                DPDEL(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                add_one_parameter_terms(mv, ec, q, i, K, by_location, G, I);
            }
            if (apply_one_parameter_step(io, job, G, I, st.DELTA(i), [&] {
                    return std::vector<Val>{" SINGULARITY WHEN INVERTING", " DELTA FOR ITEM #", i, " IN MODEL ",
                                            s.MODEL};
                }))
                break;
        }
    }
}

void score_discrimination_locations(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s) {
    const ExpectedCounts& ec = g_stage->counts;
    const int limit = location_limit(job, s);
    const bool common = s.MODEL == 5 || s.MODEL == 7;
    const char* tail = s.MODEL == 5   ? " IN MODEL 5"
                       : s.MODEL == 6 ? " IN MODEL 6"
                       : s.MODEL == 7 ? " IN MODEL 7 "
                                      : " IN MODEL 8";
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = common ? s.NCAT0 : job.NCAT(i);
        for (int it = 1; it <= limit; ++it) {
            for (double& v : DAINFO) v = 0.0;
            DAGRAD[0] = DAGRAD[1] = 0.0;
            for (int q = 1; q <= job.NQUAD; ++q) {
                PROBM(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                DPDEL(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                DPALP(mv, st, s.MODEL, q, i, K, st.UNIT, st.TAUC, st.XQUAD.data());
                const double nbar = ec.NBAR(q, i);
                for (int c = 0; c < K; ++c) {
                    const double da = mv.DPAD(1, c);
                    const double dd = mv.DPAD(2, c);
                    const double p = mv.PROB(c);
                    const double rbar = ec.RBAR(q, i, c);
                    DAINFO[0] += nbar * da * da / p;
                    DAINFO[2] += nbar * da * dd / p;
                    DAINFO[3] += nbar * dd * dd / p;
                    DAGRAD[0] += rbar * da / p;
                    DAGRAD[1] += rbar * dd / p;
                }
            }
            DAINFO[1] = DAINFO[2];
            auto singular = [&] {
                return std::vector<Val>{" SINGULARITY WHEN INVERTING ", " DELTA/ALPHA FOR ITEM #", i, tail};
            };
            INVERT(io.con, DAINFO, DAINV, 2, 2, IERINV);
            if (IERINV != 0) warn(io, job, singular());
            DMULT(io.con, DAGRAD, 1, 1, 2, 2, DAINV, 2, 2, 2, 2, DASTEP);
            if (!all_finite(DASTEP, 2)) {
                if (IERINV == 0) warn(io, job, singular());
                break;
            }
            const bool done = std::fabs(DASTEP[0]) <= s.CONVC && std::fabs(DASTEP[1]) <= s.CONVC;
            st.ALPHA(i) += clamp(DASTEP[0], 0.25);
            st.DELTA(i) += clamp(DASTEP[1], 1.0);
            if (done) break;
        }
    }
}

}  // namespace

void scoring_cycle(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    g_stage = &stage;
    g_settings = &s;
    switch (s.MODEL) {
        case 1:
        case 5:
            score_common_unit(io, job, st, s);
            break;
        case 2:
        case 6:
            score_item_units(io, job, st, s);
            break;
        case 3:
        case 7:
            score_common_thresholds(io, job, st, s);
            break;
        case 4:
        case 8:
            score_item_thresholds(io, job, st, s);
            break;
        default:
            return;
    }
    const bool per_item = s.MODEL == 2 || s.MODEL == 4 || s.MODEL == 6 || s.MODEL == 8;
    if (per_item && job.ICONST == 1) recentre(job, st, s);
    if (s.MODEL <= 4)
        score_locations(io, job, st, s);
    else
        score_discrimination_locations(io, job, st, s);
}

}  // namespace vorm::before
