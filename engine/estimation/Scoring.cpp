#include "estimation/Scoring.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"
#include "estimation/Dmult.h"
#include "estimation/Invert.h"
#include "model/Evaluate.h"
#include "model/Traits.h"

namespace vorm {

namespace {

constexpr int LD = 9;  // leading dimension of a threshold system

void warn(Io& io, const JobSettings& job, ScoringStage& stage, const std::vector<Val>& items) {
    std::string line = format_free(items);
    io.warnings.warn(job.WRKDIR, line);
    if (stage.reported.insert(line).second) io.report() << line << '\n';
}

double clamp(double x, double lim) { return std::max(-lim, std::min(lim, x)); }

// The parameters of a step: their name, the item (0: common to every item)
// and the model being estimated.
struct Parameters {
    const char* name;
    int item;
    int model;
};

// A step that is not a number would take the estimates out of the finite
// numbers, and every later stage with them: the run ends at that point.
[[noreturn]] void no_finite_step(Io& io, const Store& st, const Parameters& p) {
    std::string what = std::string(" FIRST CONCERNED: ") + p.name;
    if (p.item > 0) what += " FOR ITEM #" + std::to_string(p.item);
    what += " IN MODEL " + std::to_string(p.model);
    if (p.item > 0) what += " (ITEM " + std::to_string(st.ITEMID(p.item)) + " OF THE DATA FILE)";
    estimation_not_finite(io, what + ".");
}

int threshold_limit(const JobSettings& job, const ScoringSettings& s) {
    return job.MAXFST + ((s.NCYCLE == 1 && s.n >= 1 && s.n <= 5) ? 15 : 0);
}
int unit_limit(const JobSettings& job, const ScoringSettings& s) {
    return job.MAXFSU + ((s.NCYCLE == 1 && s.n >= 1 && s.n <= 5) ? 15 : 0);
}
int location_limit(const JobSettings& job, const ScoringSettings& s) {
    return job.MAXFSI + ((s.NCYCLE == 1 && s.n == 1) ? 5 : 0);
}

// The model's results for item i at quadrature point q, into PROB, DPAD and DPLT.
void evaluate(ModelValues& mv, const Store& st, const ScoringSettings& s, unsigned results, int i, int K, int q) {
    evaluate_point(mv, s.MODEL, results, item_parameters(st, s.MODEL, i, K, st.UNIT, st.TAUC), st.XQUAD(q));
}

// Every term of an information matrix or a score carries 1/P(c) and a
// derivative that has P(c) as a factor: where P(c) underflowed to exactly 0
// (a very steep item far from the point) the term is its limit, 0, and is
// left out rather than added as 0/0.

// The score G and information I of a single parameter, summed over items
// and points; d(c) is the parameter's derivative of category c's probability.
struct OneParameterSums {
    double G = 0.0, I = 0.0;

    // Item i's terms at point q.
    template <class Deriv>
    void add(const ModelValues& mv, const ExpectedCounts& ec, int q, int i, int K, Deriv d) {
        const double nbar = ec.NBAR(q, i);
        for (int c = 0; c < K; ++c) {
            const double dc = d(c);
            const double p = mv.PROB(c);
            if (p == 0.0) continue;
            I += nbar * dc * dc / p;
            G += ec.RBAR(q, i, c) * dc / p;
        }
    }
};

// One update of a single parameter by step = G / I; true when its iteration
// is over (the unclamped step met the model's criterion).
bool apply_one_parameter_step(Io& io, const ScoringSettings& s, const Store& st, double step, double& param,
                              const Parameters& what) {
    if (!std::isfinite(step)) no_finite_step(io, st, what);
    const bool done = std::fabs(step) <= s.CONVC;
    param += clamp(step, 1.0);
    return done;
}

bool all_finite(const double* v, int n) {
    for (int k = 0; k < n; ++k)
        if (!std::isfinite(v[k])) return false;
    return true;
}

// A threshold system of order N: information FINFO (column-major, leading
// dimension 9) and score FGRAD.  The terms of entry (a, b), b >= a, are added
// at FINFO(b, a), so that the innermost loop over b runs along contiguous
// memory in step with DPLT(b, c); the upper half is mirrored from it before
// the inversion.  Each entry receives its terms in the same order as before.
struct ThresholdSystem {
    int N;
    double CONVC;  // the criterion of the model being estimated
    double FINFO[LD * LD];
    double FINV[LD * LD];
    double FGRAD[LD];
    double FSTEP[LD];

    ThresholdSystem(int n, double convc) : N(n), CONVC(convc) {}

    void clear() {
        for (int b = 0; b < N; ++b) {
            FGRAD[b] = 0.0;
            for (int a = 0; a < N; ++a) FINFO[a + b * LD] = 0.0;
        }
    }

    // Item i's terms at point q, with the derivatives in DPLT rows 1..N.
    void add(const ModelValues& mv, const ExpectedCounts& ec, int q, int i, int K) {
        const double nbar = ec.NBAR(q, i);
        for (int c = 0; c < K; ++c) {
            const double p = mv.PROB(c);
            if (p == 0.0) continue;
            const double rbar = ec.RBAR(q, i, c);
            const double* d = &mv.DPLT(1, c);
            for (int a = 0; a < N; ++a) {
                const double da = d[a];
                FGRAD[a] += rbar * da / p;
                const double t = nbar * da;
                double* column = &FINFO[a * LD];
                for (int b = a; b < N; ++b) column[b] += t * d[b] / p;
            }
        }
    }

    // Solves the system, writes its status line on a failed inversion and
    // applies the clamped step to tau(1..N); true when converged.  The status
    // record is built only when it is needed, so that the iterations
    // themselves allocate nothing.
    template <class Record>
    bool apply(Io& io, const JobSettings& job, const Store& st, ScoringStage& stage, double* tau, Record singular,
               const Parameters& what) {
        for (int b = 1; b < N; ++b)
            for (int a = 0; a < b; ++a) FINFO[a + b * LD] = FINFO[b + a * LD];
        int IERINV = 0;
        INVERT(io.con, FINFO, FINV, N, LD, IERINV);
        if (IERINV != 0) warn(io, job, stage, singular());
        DMULT(io.con, FGRAD, 1, 1, N, LD, FINV, N, LD, N, LD, FSTEP);
        if (!all_finite(FSTEP, N)) no_finite_step(io, st, what);
        bool done = true;
        for (int k = 1; k <= N; ++k) {
            if (std::fabs(FSTEP[k - 1]) > CONVC) done = false;
            FSTEP[k - 1] = clamp(FSTEP[k - 1], 1.0);
            tau[k] += FSTEP[k - 1];
        }
        return done;
    }
};

void score_common_thresholds(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    const int K = s.NCAT0;
    const int N = K - 1;
    if (N < 1) return;
    auto singular = [&] {
        return s.MODEL == 3 ? std::vector<Val>{" SINGULARITY WHEN INVERTING CONSTANT", " TAUS IN MODEL 3"}
                            : std::vector<Val>{" SINGULARITY WHEN INVERTING", " CONSTANT TAUS IN MODEL 7"};
    };
    ThresholdSystem sys(N, s.CONVC);
    const int limit = threshold_limit(job, s);
    for (int it = 1; it <= limit; ++it) {
        sys.clear();
        for (int i = 1; i <= job.NITEM; ++i)
            for (int q = 1; q <= job.NQUAD; ++q) {
                evaluate(stage.mv, st, s, PROBABILITIES | BY_THRESHOLDS, i, K, q);
                sys.add(stage.mv, stage.counts, q, i, K);
            }
        if (sys.apply(io, job, st, stage, st.TAUC.data(), singular, {"CONSTANT TAUS", 0, s.MODEL})) break;
    }
}

void score_item_thresholds(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    const int limit = threshold_limit(job, s);
    const char* head = s.MODEL == 4 ? " SINGULARITY WHEN INVERTING" : " SINGULARITY WHEN INVERTING ";
    const char* tail = s.MODEL == 4 ? " IN MODEL 4" : " IN MODEL 8";
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        const int N = K - 1;
        if (N < 1 || K > MAXCAT) continue;  // data input keeps K within 2..10
        ThresholdSystem sys(N, s.CONVC);
        // TAU(i, k) for k = 0..9 is contiguous only across items, so the row is
        // worked on in a copy and stored back after each step.
        double row[MAXCAT];
        for (int iter = 1; iter <= limit; ++iter) {
            sys.clear();
            for (int q = 1; q <= job.NQUAD; ++q) {
                evaluate(stage.mv, st, s, PROBABILITIES | BY_THRESHOLDS, i, K, q);
                sys.add(stage.mv, stage.counts, q, i, K);
            }
            for (int k = 0; k < K; ++k) row[k] = st.TAU(i, k);
            const bool done = sys.apply(io, job, st, stage, row,
                                        [&] {
                                            return std::vector<Val>{head, " TAUS FOR ITEM #", i, tail};
                                        },
                                        {"TAUS", i, s.MODEL});
            for (int k = 1; k < K; ++k) st.TAU(i, k) = row[k];
            if (done) break;
        }
    }
}

void score_common_unit(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    const int K = s.NCAT0;
    const int limit = unit_limit(job, s);
    const auto by_unit = [&stage](int c) { return stage.mv.DPLT(1, c); };
    for (int it = 1; it <= limit; ++it) {
        OneParameterSums sums;
        for (int i = 1; i <= job.NITEM; ++i)
            for (int q = 1; q <= job.NQUAD; ++q) {
                evaluate(stage.mv, st, s, PROBABILITIES | BY_UNIT, i, K, q);
                sums.add(stage.mv, stage.counts, q, i, K, by_unit);
            }
        if (apply_one_parameter_step(io, s, st, sums.G / sums.I, st.UNIT, {"UNIT", 0, s.MODEL})) break;
    }
}

void score_item_units(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    const int limit = unit_limit(job, s);
    const auto by_unit = [&stage](int c) { return stage.mv.DPLT(1, c); };
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = job.NCAT(i);
        for (int it = 1; it <= limit; ++it) {
            OneParameterSums sums;
            for (int q = 1; q <= job.NQUAD; ++q) {
                evaluate(stage.mv, st, s, PROBABILITIES | BY_UNIT, i, K, q);
                sums.add(stage.mv, stage.counts, q, i, K, by_unit);
            }
            if (apply_one_parameter_step(io, s, st, sums.G / sums.I, st.LAMBDA(i), {"UNIT", i, s.MODEL})) break;
        }
    }
}

void recentre(const JobSettings& job, Store& st, const ScoringSettings& s) {
    const int n = job.NITEM;
    if (n < 1) return;
    if (model_traits(s.MODEL).unit) {
        double m = 0.0;
        for (int i = 1; i <= n; ++i) m += st.LAMBDA(i) * (1.0 / n);
        for (int i = 1; i <= n; ++i) st.LAMBDA(i) = (st.LAMBDA(i) - m) + st.UNIT;
        return;
    }
    double mean[MAXCAT];
    for (int k = 0; k < s.NCAT0; ++k) {
        double m = 0.0;
        for (int i = 1; i <= n; ++i) m += st.TAU(i, k) * (1.0 / n);
        mean[k] = m;
    }
    for (int k = 0; k < s.NCAT0; ++k)
        for (int i = 1; i <= n; ++i) st.TAU(i, k) = (st.TAU(i, k) - mean[k]) + st.TAUC(k);
}

// The category count of item i in a scoring step: the common one for the
// models whose unit or thresholds all items share.
int categories(const JobSettings& job, const ScoringSettings& s, int i) {
    return model_traits(s.MODEL).common ? s.NCAT0 : job.NCAT(i);
}

void score_locations(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    const int limit = location_limit(job, s);
    const auto by_location = [&stage](int c) { return stage.mv.DPAD(2, c); };
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = categories(job, s, i);
        for (int it = 1; it <= limit; ++it) {
            OneParameterSums sums;
            for (int q = 1; q <= job.NQUAD; ++q) {
                evaluate(stage.mv, st, s, PROBABILITIES | BY_DELTA, i, K, q);
                sums.add(stage.mv, stage.counts, q, i, K, by_location);
            }
            if (apply_one_parameter_step(io, s, st, sums.G / sums.I, st.DELTA(i), {"DELTA", i, s.MODEL})) break;
        }
    }
}

void score_discrimination_locations(Io& io, const JobSettings& job, Store& st, ScoringStage& stage,
                                    const ScoringSettings& s) {
    const ExpectedCounts& ec = stage.counts;
    const int limit = location_limit(job, s);
    const char* tail = s.MODEL == 5   ? " IN MODEL 5"
                       : s.MODEL == 6 ? " IN MODEL 6"
                       : s.MODEL == 7 ? " IN MODEL 7 "
                                      : " IN MODEL 8";
    double DAINFO[2 * 2], DAINV[2 * 2], DAGRAD[2], DASTEP[2];
    for (int i = 1; i <= job.NITEM; ++i) {
        const int K = categories(job, s, i);
        for (int it = 1; it <= limit; ++it) {
            for (double& v : DAINFO) v = 0.0;
            DAGRAD[0] = DAGRAD[1] = 0.0;
            for (int q = 1; q <= job.NQUAD; ++q) {
                evaluate(stage.mv, st, s, PROBABILITIES | BY_DELTA | BY_ALPHA, i, K, q);
                const double nbar = ec.NBAR(q, i);
                for (int c = 0; c < K; ++c) {
                    const double da = stage.mv.DPAD(1, c);
                    const double dd = stage.mv.DPAD(2, c);
                    const double p = stage.mv.PROB(c);
                    if (p == 0.0) continue;
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
            int IERINV = 0;
            INVERT(io.con, DAINFO, DAINV, 2, 2, IERINV);
            if (IERINV != 0) warn(io, job, stage, singular());
            DMULT(io.con, DAGRAD, 1, 1, 2, 2, DAINV, 2, 2, 2, 2, DASTEP);
            if (!all_finite(DASTEP, 2)) no_finite_step(io, st, {"DELTA/ALPHA", i, s.MODEL});
            const bool done = std::fabs(DASTEP[0]) <= s.CONVC && std::fabs(DASTEP[1]) <= s.CONVC;
            st.ALPHA(i) += clamp(DASTEP[0], 0.25);
            st.DELTA(i) += clamp(DASTEP[1], 1.0);
            if (done) break;
        }
    }
}

}  // namespace

void estimation_not_finite(Io& io, const std::string& concerned) {
    const std::vector<std::string> lines{
        status_text(" THE ESTIMATION DID NOT REACH FINITE ESTIMATES.  JOB IS ABORTING."), status_text(concerned)};
    for (const auto& l : lines) {
        io.con << l << '\n';
        io.report() << l << '\n';
    }
    throw EngineStop(lines);
}

void scoring_cycle(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    const ModelTraits& m = model_traits(s.MODEL);
    if (!m.valid) return;
    if (m.unit && m.common)
        score_common_unit(io, job, st, stage, s);
    else if (m.unit)
        score_item_units(io, job, st, stage, s);
    else if (m.common)
        score_common_thresholds(io, job, st, stage, s);
    else
        score_item_thresholds(io, job, st, stage, s);
    if (!m.common && job.ICONST == 1) recentre(job, st, s);
    if (m.discrimination)
        score_discrimination_locations(io, job, st, stage, s);
    else
        score_locations(io, job, st, stage, s);
}

}  // namespace vorm
