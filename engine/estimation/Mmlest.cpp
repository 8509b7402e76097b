#include "estimation/Mmlest.h"

#include <cmath>
#include <ostream>

#include "common/status.h"
#include "common/stop.h"
#include "common/stopsignal.h"
#include "common/textio.h"
#include "estimation/Randn2.h"
#include "model/Getqua.h"
#include "model/Traits.h"
#include "numlib/Numlib_error.h"
#include "numlib/Today_date.h"
#include "statistics/Perest.h"

namespace vorm {

namespace {

constexpr int ANY = -1;

const ChainRow kChains[] = {
    {8, -1, 0, {3, 4, 8}},   {8, -1, 1, {3, 7, 8}},   {8, 0, ANY, {4, 8, 0}},  {7, -1, ANY, {3, 7, 0}},
    {6, -1, 0, {1, 2, 6}},   {6, -1, 1, {1, 5, 6}},   {6, 0, ANY, {2, 6, 0}},  {5, -1, ANY, {1, 5, 0}},
    {4, -1, ANY, {3, 4, 0}}, {4, 0, ANY, {4, 0, 0}},  {3, -1, ANY, {3, 0, 0}}, {2, -1, ANY, {1, 2, 0}},
    {2, 0, ANY, {2, 0, 0}},  {1, -1, ANY, {1, 0, 0}},
};

// What a model's stage does at its end: as a start-up stage (a later model of
// the chain follows) the report line and the copy of the common thresholds
// into every item's row; the copy of the unit into every item's LAMBDA
// always.  A start-up stage of model 5 (chain 1, 5, 6) does neither, so model
// 6 starts from the units of model 1.
struct StageEnd {
    bool startup_line;
    bool copy_tauc;
    bool copy_unit;
};
const StageEnd kStageEnds[] = {
    {false, false, false},                                                                     // not a model
    {true, false, true},   {true, false, false},  {true, true, false}, {true, false, false},   // 1..4
    {false, false, false}, {false, false, false}, {true, true, false}, {false, false, false},  // 5..8
};

// Respondent j's likelihood is 0 at every point under the model in PT, so the
// marginal log-likelihood is not finite: the run ends, naming the first item
// that gives j's answer a probability of 0 (or not a number) at some point.
[[noreturn]] void no_finite_likelihood(Io& io, int model, const Store& st, const ProbabilityTable& PT, int j) {
    std::string concerned = " FIRST CONCERNED: THE MARGINAL LOG-LIKELIHOOD OF MODEL " + std::to_string(model);
    for (int i = 1; i <= PT.NITEM; ++i) {
        const int x = st.RESP(j, i);
        if (x < 0 || x >= PT.NCAT(i)) continue;
        bool impossible = false;
        for (int q = 1; q <= PT.NQUAD; ++q) impossible |= !(PT.P(q, i, x) > 0.0);
        if (!impossible) continue;
        concerned +=
            ", THROUGH ITEM #" + std::to_string(i) + " (ITEM " + std::to_string(st.ITEMID(i)) + " OF THE DATA FILE)";
        break;
    }
    estimation_not_finite(io, concerned + ".");
}

bool moved(double now, double& copy, double crit) {
    bool m = std::fabs(now - copy) > crit;
    copy = now;
    return m;
}

// Compares the convergence set of the model in `s` with the copies and
// copies it, all of it, without an early exit.  True when some value moved by
// more than the model's criterion.
bool compare_and_copy(const JobSettings& job, const Store& st, const ScoringSettings& s, CycleCopies& old) {
    const ModelTraits& m = model_traits(s.MODEL);
    const double crit = s.CONVC;
    const int NCAT0 = s.NCAT0;
    bool any = false;
    for (int i = 1; i <= job.NITEM; ++i) any |= moved(st.DELTA(i), old.delta(i), crit);
    if (m.discrimination)
        for (int i = 1; i <= job.NITEM; ++i) any |= moved(st.ALPHA(i), old.alpha(i), crit);
    if (!m.valid) return any;
    if (m.unit && m.common) {
        any |= moved(st.UNIT, old.table(1, 0), crit);
    } else if (m.unit) {
        for (int i = 1; i <= job.NITEM; ++i) any |= moved(st.LAMBDA(i), old.table(i, 0), crit);
    } else if (m.common) {
        for (int k = 0; k < NCAT0; ++k) any |= moved(st.TAUC(k), old.table(1, k), crit);
    } else {
        for (int i = 1; i <= job.NITEM; ++i)
            for (int k = 0; k < job.NCAT(i); ++k) any |= moved(st.TAU(i, k), old.table(i, k), crit);
    }
    return any;
}

// The stage's work areas and probes, as every model's cycles use them.
struct Cycles {
    EstimationWork& w;
    ProbabilityTable& PT;
    const EstimationProbes& probes;
};

// The outer and inner cycles of the model in `s`; returns NCYCLE as the stage
// leaves it.
int estimate_model(Io& io, const JobSettings& job, Store& st, Cycles c, ScoringSettings s) {
    EstimationWork& w = c.w;
    ScoringStage stage{w.counts, {}, {}};
    s.NCYCLE = 1;
    w.OLDOUT.delta(1) = 9999999999999998.0;
    for (int outer = 1; outer <= job.MAXOUT; ++outer) {
        if (!compare_and_copy(job, st, s, w.OLDOUT)) break;
        RANDN2(io.con, job, st, s.MODEL, w.counts, c.PT);
        if (w.counts.without_likelihood != 0) no_finite_likelihood(io, s.MODEL, st, c.PT, w.counts.without_likelihood);
        w.OLDIN.delta(1) = 999999999999.0;
        for (s.n = 1; s.n <= job.MAXIN; ++s.n) {
            if (!compare_and_copy(job, st, s, w.OLDIN)) break;
            stop_point();
            c.probes.scoring(io, job, st, stage, s);
        }
        if (c.probes.observer) c.probes.observer(c.probes.context, st, s);
        ++s.NCYCLE;
    }
    return s.NCYCLE;
}

// Without the constraint the start-up models take a coarser criterion; the
// requested model takes the job's.
double criterion(const JobSettings& job, bool startup) { return startup && job.ICONST != 1 ? 0.01 : job.CONVC; }

void stage_end(Io& io, const JobSettings& job, Store& st, const ScoringSettings& s, bool startup, int NCYCLE) {
    const StageEnd& e = kStageEnds[s.MODEL];
    if (startup && e.startup_line)
        write_free(io.report(),
                   {" ", NCYCLE, " ITERATIONS REQUIRED IN START-UP WITH MODEL " + std::to_string(s.MODEL)});
    if (startup && e.copy_tauc)
        for (int i = 1; i <= job.NITEM; ++i)
            for (int k = 0; k < s.NCAT0; ++k) st.TAU(i, k) = st.TAUC(k);
    if (e.copy_unit)
        for (int i = 1; i <= job.NITEM; ++i) st.LAMBDA(i) = st.UNIT;
}

}  // namespace

const ChainRow* start_up_chain(int model, int lcatc, int iconst) {
    for (const ChainRow& r : kChains)
        if (r.model == model && r.lcatc == lcatc && (r.iconst == ANY || r.iconst == iconst)) return &r;
    return nullptr;
}

EstimationResult MMLEST(Io& io, const JobSettings& job, Store& st, EstimationWork& w, ProbabilityTable& PT,
                        const EstimationProbes& probes) {
    std::ostream& rep = io.report();
    const ChainRow* chain = start_up_chain(job.MODEL, job.LCATC, job.ICONST);
    if (chain == nullptr) {
        const std::string first = "Error: Model " + std::to_string(job.MODEL) + " does not allow for a variable";
        const std::string second = " number of response categories across items.";
        write_free(io.con, {first});
        write_free(io.con, {second});
        throw EngineStop({status_text(first), status_text(second)});
    }
    int stages = 0;
    while (stages < 3 && chain->runs[stages] != 0) ++stages;

    ERSET(0, 1, 0);
    EstimationResult result;
    GETQUA(st.XQUAD, st.WQUAD, result.XMEAN, job.NQUAD, result.XSD);
    const int NCAT0 = job.NCAT(1);
    write_free(io.con, {" ESTIMATING ITEM PARAMETERS"});

    int NCYCLE = 1;
    for (int k = 0; k < stages; ++k) {
        const bool startup = k + 1 < stages;
        ScoringSettings s;
        s.MODEL = chain->runs[k];
        s.CONVC = criterion(job, startup);
        s.NCAT0 = NCAT0;
        NCYCLE = estimate_model(io, job, st, {w, PT, probes}, s);
        stage_end(io, job, st, s, startup, NCYCLE);
    }

    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    TODAY_DATE(day, month, year);
    TIME_OF_DAY(hour, minute, second);
    write_free(rep);
    write_free(rep);
    write_fixed(rep, "(' ***** REPLICATION COMPLETED AT DATE: ',I2,'/',I2,'/',I4,' TIME: ',I2,':',I2,':',I2,' *****')",
                {month, day, year, hour, minute, second});
    write_free(rep, {" MML ITEM SOLUTIONS CRITERION MET AFTER ", NCYCLE - 1, " OUTER ITERATIONS"});
    if (NCYCLE >= job.MAXOUT) {
        const std::string line = status_text(" MAXIMUM NUMBER OF ITERATIONS EXCEEDED");
        io.warnings.warn(job.WRKDIR, line);
        rep << line << '\n';
    }
    write_free(rep);
    write_free(rep);
    write_free(rep);
    write_free(rep, {" ON THE LAST ITERATION OF THE MML ESTIMATION", " PROCEDURE,"});
    write_free(rep, {" THE ESTIMATED LATENT DISTRIBUTION OF PERSON", " PARAMETERS WAS AS FOLLOWS:"});
    write_free(rep);

    const ExpectedCounts& ec = w.counts;
    double total = 0.0;
    if (job.NQUAD >= 1) {
        for (int q = 1; q <= job.NQUAD; ++q) {
            double d = 0.0;
            for (int i = 1; i <= job.NITEM; ++i) d += ec.NBAR(q, i);
            st.DENS(q) = d;
        }
        for (int q = 1; q <= job.NQUAD; ++q) total += st.DENS(q);
    }
    write_free(rep, {" QUADRATURE POINT", "  DENSITY"});
    if (job.NQUAD >= 1) {
        // No answered response at all would leave a zero total; the density
        // then stays at zero instead of becoming NaN.
        const double r = total > 0.0 ? 1.0 / total : 0.0;
        for (int q = 1; q <= job.NQUAD; ++q) {
            st.DENS(q) = st.DENS(q) * r;
            write_fixed(rep, "(5X,F8.3,5X,F8.5)", {st.XQUAD(q), st.DENS(q)});
        }
    }
    write_free(rep);
    write_free(rep);
    write_free(io.con, {" ESTIMATING THETAS"});
    // The last cycle's steps have not been through an expectation step: the
    // person estimates tell whether they keep every likelihood positive.
    const int without_likelihood = PEREST(io.con, job, st, PT);
    if (without_likelihood != 0) no_finite_likelihood(io, job.MODEL, st, PT, without_likelihood);
    return result;
}

}  // namespace vorm
