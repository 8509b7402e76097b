// Times the estimation's two kinds of work at the largest size the capacities
// allow and at a realistic size:
//   - one expectation step (its probability table included) against a plain
//     loop doing the same multiply-adds over a table of the same size;
//   - one scoring cycle of model 8 (per-item thresholds, then discriminations
//     and locations), with each point's exponentials evaluated once, against
//     the same cycle as it was before (scoring_before.cpp);
//   - the whole item estimation both ways, in turns.
// Both ways must give the same bits; the benchmark checks that and fails
// (exit status 1) when they differ.  `bench_estimation check` runs the
// realistic size alone, each part once: the test command's quick check.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Store.h"
#include "common/io.h"
#include "driver/Workspace.h"
#include "estimation/Initvl.h"
#include "estimation/Mmlest.h"
#include "estimation/Randn2.h"
#include "model/Getqua.h"
#include "run_state.h"
#include "scoring_before.h"
#include "simulate.h"

using namespace vorm;

namespace {

using Clock = std::chrono::steady_clock;
double seconds_since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// The reference: the expectation step's arithmetic written as plain loops on
// tables of its own (likelihood product, marginal, posterior, two adds).
struct Reference {
    alignas(64) PointItemCatReals P;
    alignas(64) PointItemCatReals R;
    alignas(64) PointItemReals N;
    alignas(64) double LQ[MAXQUAD];
    alignas(64) double W[MAXQUAD];
};

double reference_step(Reference& ref, const Store& st, const JobSettings& job) {
    const int nq = job.NQUAD, ni = job.NITEM;
    for (int i = 1; i <= ni; ++i)
        for (int q = 1; q <= nq; ++q) {
            ref.N(q, i) = 0.0;
            for (int c = 0; c < job.NCAT(i); ++c) ref.R(q, i, c) = 0.0;
        }
    for (int j = 1; j <= job.NSUBJ; ++j) {
        for (int q = 0; q < nq; ++q) ref.LQ[q] = 1.0;
        for (int i = 1; i <= ni; ++i) {
            const int r = st.RESP(j, i);
            if (r < 0) continue;
            for (int q = 0; q < nq; ++q) ref.LQ[q] *= ref.P(q + 1, i, r);
        }
        double pn = 0.0;
        for (int q = 0; q < nq; ++q) pn += ref.LQ[q] * st.WQUAD(q + 1);
        for (int q = 0; q < nq; ++q) ref.W[q] = ref.LQ[q] * st.WQUAD(q + 1) / pn;
        for (int i = 1; i <= ni; ++i) {
            const int r = st.RESP(j, i);
            if (r < 0) continue;
            for (int q = 0; q < nq; ++q) {
                ref.R(q + 1, i, r) += ref.W[q];
                ref.N(q + 1, i) += ref.W[q];
            }
        }
    }
    return ref.N(1, 1);
}

template <class A>
bool same_bits(const A& a, const A& b) {
    return std::memcmp(&a, &b, sizeof(A)) == 0;
}

// Every result of the estimation, compared bit for bit.
bool same_results(const Store& a, const Store& b) {
    return same_bits(a.DELTA, b.DELTA) && same_bits(a.ALPHA, b.ALPHA) && same_bits(a.LAMBDA, b.LAMBDA) &&
           same_bits(a.UNIT, b.UNIT) && same_bits(a.TAU, b.TAU) && same_bits(a.TAUC, b.TAUC) &&
           same_bits(a.DENS, b.DENS) && same_bits(a.THETA, b.THETA) && same_bits(a.TSTD, b.TSTD);
}

struct Size {
    const char* name;
    int nsubj, nitem, ncat, nquad, model;
};

struct Run : bench::RunState {
    Io io{con, in};
    Run() { io.units.open_in_memory(); }
};

void load(Run& r, const Size& z) {
    vormsim::Design design;
    design.model = z.model;
    design.items = vormsim::typical_items(z.model, std::vector<int>(static_cast<std::size_t>(z.nitem), z.ncat), 7);
    design.nsubj = z.nsubj;
    design.seed = 8;
    const vormsim::Data data = vormsim::simulate(design);
    JobSettings& job = *r.job;
    Store& st = *r.st;
    job.MODEL = z.model;
    job.NITEM = z.nitem;
    job.NSUBJ = z.nsubj;
    job.LCATC = -1;
    for (int i = 1; i <= z.nitem; ++i) {
        job.NCAT(i) = z.ncat;
        st.ITEMID(i) = i;
        job.ISIGN(i) = design.items[static_cast<std::size_t>(i - 1)].delta < 0 ? 0 : 1;
    }
    for (int j = 1; j <= z.nsubj; ++j)
        for (int i = 1; i <= z.nitem; ++i)
            st.RESP(j, i) = data.resp[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)];
    job.ISGNSP = 1;
    job.SIGNR = 1.0;
    job.NQUAD = z.nquad;
    job.MAXOUT = 50;
    job.MAXIN = 10;
    job.MAXFSU = job.MAXFST = job.MAXFSI = 10;
    job.CONVC = 0.001;
    job.WRKDIR = "./";
}

void expectation(Run& r, Store& st) {
    const JobSettings& job = *r.job;
    RANDN2(r.con, job, st, job.MODEL, r.ws->estimation.counts, r.ws->ptab);
}

bool run(const Size& z, bool once) {
    Run r;
    load(r, z);
    const JobSettings& job = *r.job;
    INITVL(r.io, job, *r.st, r.ws->start);
    const auto store_at_start = std::make_unique<Store>(*r.st);
    double mean = 0.0, sd = 0.0;
    GETQUA(r.st->XQUAD, r.st->WQUAD, mean, job.NQUAD, sd);

    // The expectation step at the start values, against the plain loop.
    auto ref = std::make_unique<Reference>();
    for (int i = 1; i <= z.nitem; ++i)
        for (int q = 1; q <= z.nquad; ++q)
            for (int c = 0; c < z.ncat; ++c) ref->P(q, i, c) = 1.0 / z.ncat + 0.01 * ((q + c) % 3);
    double best_e = 1e30, best_r = 1e30, sink = 0.0;
    for (int k = 0; k < (once ? 1 : 20); ++k) {
        auto t0 = Clock::now();
        expectation(r, *r.st);
        best_e = std::min(best_e, seconds_since(t0));
        t0 = Clock::now();
        sink += reference_step(*ref, *r.st, job);
        best_r = std::min(best_r, seconds_since(t0));
    }

    // One scoring cycle from the same state both ways.
    bool same = true;
    const auto before_cycle = std::make_unique<Store>(*r.st);
    const auto after_new = std::make_unique<Store>();
    const ScoringSettings cycle{.MODEL = z.model, .CONVC = job.CONVC, .NCAT0 = job.NCAT(1), .n = 1, .NCYCLE = 2};
    double best_new = 1e30, best_old = 1e30;
    for (int k = 0; k < (once ? 1 : 10); ++k) {
        ScoringStage stage{r.ws->estimation.counts, {}, {}};
        *r.st = *before_cycle;
        auto t0 = Clock::now();
        scoring_cycle(r.io, job, *r.st, stage, cycle);
        best_new = std::min(best_new, seconds_since(t0));
        *after_new = *r.st;
        *r.st = *before_cycle;
        t0 = Clock::now();
        before::scoring_cycle(r.io, job, *r.st, stage, cycle);
        best_old = std::min(best_old, seconds_since(t0));
        same = same && same_results(*after_new, *r.st);
    }

    // The whole estimation both ways, in turns.
    double whole_new = 1e30, whole_old = 1e30;
    EstimationProbes old_way;
    old_way.scoring = before::scoring_cycle;
    for (int k = 0; k < (once ? 1 : 3); ++k) {
        *r.st = *store_at_start;
        auto t0 = Clock::now();
        const EstimationResult new_result = MMLEST(r.io, job, *r.st, r.ws->estimation, r.ws->ptab);
        whole_new = std::min(whole_new, seconds_since(t0));
        *after_new = *r.st;
        *r.st = *store_at_start;
        t0 = Clock::now();
        const EstimationResult old_result = MMLEST(r.io, job, *r.st, r.ws->estimation, r.ws->ptab, old_way);
        whole_old = std::min(whole_old, seconds_since(t0));
        same = same && same_results(*after_new, *r.st) && same_bits(new_result, old_result);
    }

    const std::string rep = r.io.units.contents(Unit::FT06);
    const auto at = rep.rfind("CRITERION MET AFTER ");
    const std::string cycles = at == std::string::npos ? "?" : rep.substr(at + 20, rep.find(' ', at + 20) - at - 20);
    std::printf("%s (%d x %d, %d categories, %d points, model %d)\n", z.name, z.nsubj, z.nitem, z.ncat, z.nquad,
                z.model);
    std::printf("  expectation step       %9.3f ms\n", best_e * 1e3);
    std::printf("  reference loop         %9.3f ms   (ratio %.2f)\n", best_r * 1e3, best_e / best_r);
    std::printf("  scoring cycle          %9.3f ms\n", best_new * 1e3);
    std::printf("  scoring cycle before   %9.3f ms   (%.2f times as long)\n", best_old * 1e3, best_old / best_new);
    std::printf("  whole estimation       %9.3f s    (chain 3, 4, 8; model 8 outer cycles: %s)\n", whole_new,
                cycles.c_str());
    std::printf("  whole estimation before%9.3f s    (%.2f times as long)\n", whole_old, whole_old / whole_new);
    std::printf("  results %s\n", same ? "bit-identical" : "DIFFER");
    if (sink == 12345.678) std::printf(" ");
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc > 1 && std::strcmp(argv[1], "check") == 0;
    bool same = check || run({"largest", 2000, 100, 10, 50, 8}, false);
    same = run({"realistic", 1000, 20, 6, 30, 8}, check) && same;
    return same ? 0 : 1;
}
