#include "estimation/Mmlest.h"

#include <cmath>
#include <ostream>

#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"
#include "driver/Stages.h"
#include "estimation/Randn2.h"
#include "estimation/Scoring.h"
#include "model/Getqua.h"
#include "numlib/Numlib_error.h"
#include "numlib/Today_date.h"
#include "statistics/Perest.h"

namespace vorm {

namespace {

constexpr int ANY = -1;

const ChainRow kChains[] = {
    {8, -1, 0, {3, 4, 8}, 348},  {8, -1, 1, {3, 7, 8}, 378}, {8, 0, ANY, {4, 8, 0}, 48}, {7, -1, ANY, {3, 7, 0}, 37},
    {6, -1, 0, {1, 2, 6}, 126},  {6, -1, 1, {1, 5, 6}, 156}, {6, 0, ANY, {2, 6, 0}, 26}, {5, -1, ANY, {1, 5, 0}, 15},
    {4, -1, ANY, {3, 4, 0}, 34}, {4, 0, ANY, {4, 0, 0}, 0},  {3, -1, ANY, {3, 0, 0}, 0}, {2, -1, ANY, {1, 2, 0}, 12},
    {2, 0, ANY, {2, 0, 0}, 0},   {1, -1, ANY, {1, 0, 0}, 0},
};

// What a section does at its end: the start-up line and the copies, then the
// step to the next model of the chain.
struct SectionEnd {
    int section;
    bool startup_line;  // when LCHAIN is not 0
    bool copy_tauc;     // TAU(i,k) = TAUC(k), when LCHAIN is not 0
    bool copy_unit;     // LAMBDA(i) = UNIT, always
};
const SectionEnd kSectionEnds[] = {
    {3, true, true, false}, {4, true, false, false},  {1, true, false, true},   {2, true, false, false},
    {7, true, true, false}, {8, false, false, false}, {5, false, false, false}, {6, false, false, false},
};

struct Transition {
    int section;
    int from;      // LCHAIN at the section's end
    int to;        // LCHAIN for the next model
    int model;     // next model
    bool restore;  // CONVC back to the job's criterion
};
const Transition kTransitions[] = {
    {3, 348, 48, 4, false}, {3, 378, 78, 7, false}, {3, 37, 0, 7, true},  {3, 34, 0, 4, true},
    {4, 48, 0, 8, true},    {1, 12, 0, 2, true},    {1, 15, 0, 5, true},  {1, 126, 26, 2, false},
    {1, 156, 56, 5, false}, {2, 26, 0, 6, true},    {7, 78, 0, 8, false}, {5, 56, 0, 6, false},
};

// The sections in the order the driver visits them; every chain's models
// stand in this order.
const int kSectionOrder[] = {3, 4, 1, 2, 7, 8, 5, 6};

// Parameter values at the start of the previous outer or inner cycle; the
// table holds TAU(i,k), or LAMBDA(i) in column 0, or UNIT in (1,0), or
// TAUC(k) in row 1.
struct Copies {
    ItemReals delta;
    ItemReals alpha;
    ItemCatReals table;
};
Copies OLDOUT, OLDIN;

OuterCycleObserver g_observer = nullptr;
void* g_observer_context = nullptr;

bool moved(double now, double& copy, double crit) {
    bool m = std::fabs(now - copy) > crit;
    copy = now;
    return m;
}

// Compares the model's convergence set with the copies and copies it, all of
// it, without an early exit.  True when some value moved by more than CONVC.
bool compare_and_copy(int model, const JobSettings& job, const Store& st, int NCAT0, Copies& old) {
    const double crit = job.CONVC;
    bool any = false;
    for (int i = 1; i <= job.NITEM; ++i) any |= moved(st.DELTA(i), old.delta(i), crit);
    if (model >= 5)
        for (int i = 1; i <= job.NITEM; ++i) any |= moved(st.ALPHA(i), old.alpha(i), crit);
    switch (model) {
        case 1:
        case 5:
            any |= moved(st.UNIT, old.table(1, 0), crit);
            break;
        case 2:
        case 6:
            for (int i = 1; i <= job.NITEM; ++i) any |= moved(st.LAMBDA(i), old.table(i, 0), crit);
            break;
        case 3:
        case 7:
            for (int k = 0; k < NCAT0; ++k) any |= moved(st.TAUC(k), old.table(1, k), crit);
            break;
        case 4:
        case 8:
            for (int i = 1; i <= job.NITEM; ++i)
                for (int k = 0; k < job.NCAT(i); ++k) any |= moved(st.TAU(i, k), old.table(i, k), crit);
            break;
        default:
            break;
    }
    return any;
}

// One model's outer and inner cycles; returns NCYCLE as the section leaves it.
int estimate_model(Io& io, JobSettings& job, Store& st, int NCAT0) {
    const int model = job.MODEL;
    reset_scoring_warnings();
    int NCYCLE = 1;
    OLDOUT.delta(1) = 9999999999999998.0;
    for (int outer = 1; outer <= job.MAXOUT; ++outer) {
        if (!compare_and_copy(model, job, st, NCAT0, OLDOUT)) break;
        RANDN2(io.con, st, st.WQUAD, model, job.NCAT, job.NITEM, job.NQUAD, job.NSUBJ, st.UNIT, st.TAUC, st.XQUAD);
        OLDIN.delta(1) = 999999999999.0;
        for (int n = 1; n <= job.MAXIN; ++n) {
            if (!compare_and_copy(model, job, st, NCAT0, OLDIN)) break;
            scoring_cycle(io, job, st, ScoringSettings{model, NCAT0, n, NCYCLE});
        }
        if (g_observer) g_observer(g_observer_context, st, model, NCYCLE);
        ++NCYCLE;
    }
    return NCYCLE;
}

void section_end(Io& io, JobSettings& job, Store& st, int section, int NCYCLE, int NCAT0, int& LCHAIN, double CONVS) {
    for (const SectionEnd& e : kSectionEnds) {
        if (e.section != section) continue;
        if (LCHAIN != 0 && e.startup_line)
            write_free(io.report(),
                       {" ", NCYCLE, " ITERATIONS REQUIRED IN START-UP WITH MODEL " + std::to_string(section)});
        if (LCHAIN != 0 && e.copy_tauc)
            for (int i = 1; i <= job.NITEM; ++i)
                for (int k = 0; k < NCAT0; ++k) st.TAU(i, k) = st.TAUC(k);
        if (e.copy_unit)
            for (int i = 1; i <= job.NITEM; ++i) st.LAMBDA(i) = st.UNIT;
    }
    for (const Transition& t : kTransitions) {
        if (t.section != section || t.from != LCHAIN) continue;
        if (t.restore) job.CONVC = CONVS;
        job.MODEL = t.model;
        LCHAIN = t.to;
        return;
    }
}

}  // namespace

const ChainRow* start_up_chain(int model, int lcatc, int iconst) {
    for (const ChainRow& r : kChains)
        if (r.model == model && r.lcatc == lcatc && (r.iconst == ANY || r.iconst == iconst)) return &r;
    return nullptr;
}

void set_outer_cycle_observer(OuterCycleObserver f, void* context) {
    g_observer = f;
    g_observer_context = context;
}

void MMLEST(Io& io, JobSettings& job, Store& st) {
    std::ostream& rep = io.report();
    const double CONVS = job.CONVC;
    const int requested = job.MODEL;
    int LCHAIN = 0;

    const ChainRow* chain = start_up_chain(job.MODEL, job.LCATC, job.ICONST);
    if (chain == nullptr) {
        const std::string first = "Error: Model " + std::to_string(job.MODEL) + " does not allow for a variable";
        const std::string second = " number of response categories across items.";
        write_free(io.con, {first});
        write_free(io.con, {second});
        throw EngineStop({status_text(first), status_text(second)});
    }
    LCHAIN = chain->lchain;
    job.MODEL = chain->runs[0];
    if (LCHAIN != 0) job.CONVC = 0.01;
    if (job.ICONST == 1) job.CONVC = CONVS;

    ERSET(0, 1, 0);
    GETQUA(st.XQUAD, st.WQUAD, job.XMEAN, job.NQUAD, job.XSD);
    const int NCAT0 = job.NCAT(1);
    write_free(io.con, {" ESTIMATING ITEM PARAMETERS"});

    int NCYCLE = 1;
    for (int section : kSectionOrder) {
        if (job.MODEL != section) continue;
        NCYCLE = estimate_model(io, job, st, NCAT0);
        section_end(io, job, st, section, NCYCLE, NCAT0, LCHAIN, CONVS);
    }
    job.MODEL = requested;
    job.CONVC = CONVS;

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
        write_status(job.WRKDIR, {line});
        rep << line << '\n';
    }
    write_free(rep);
    write_free(rep);
    write_free(rep);
    write_free(rep, {" ON THE LAST ITERATION OF THE MML ESTIMATION", " PROCEDURE,"});
    write_free(rep, {" THE ESTIMATED LATENT DISTRIBUTION OF PERSON", " PARAMETERS WAS AS FOLLOWS:"});
    write_free(rep);

    const ExpectedCounts& ec = expected_counts();
    job.XMEAN = 0.0;
    if (job.NQUAD >= 1) {
        for (int q = 1; q <= job.NQUAD; ++q) {
            double d = 0.0;
            for (int i = 1; i <= job.NITEM; ++i) d += ec.NBAR(q, i);
            st.DENS(q) = d;
        }
        for (int q = 1; q <= job.NQUAD; ++q) job.XMEAN += st.DENS(q);
    }
    write_free(rep, {" QUADRATURE POINT", "  DENSITY"});
    if (job.NQUAD >= 1) {
        // No answered response at all would leave a zero total; the density
        // then stays at zero instead of becoming NaN.
        const double r = job.XMEAN > 0.0 ? 1.0 / job.XMEAN : 0.0;
        for (int q = 1; q <= job.NQUAD; ++q) {
            st.DENS(q) = st.DENS(q) * r;
            write_fixed(rep, "(5X,F8.3,5X,F8.5)", {st.XQUAD(q), st.DENS(q)});
        }
    }
    write_free(rep);
    write_free(rep);
    write_free(io.con, {" ESTIMATING THETAS"});
    PEREST(io.con, st, st.WQUAD, job.MODEL, job.NCAT, job.NITEM, job.NQUAD, job.NSUBJ, st.UNIT, st.TAUC, st.XQUAD);
}

}  // namespace vorm
