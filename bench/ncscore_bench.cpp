// Times the chi-squares conditioned on the number-correct score at full
// capacity (2000 respondents, 100 items of 10 categories, 50 points, model 8,
// every item in the score):
//   - one OLTHX2 call, its rest scores by halving the item set, against a
//     plain reference loop: every rest score recomputed from scratch by the
//     plain recursion (second table cleared, added into, copied back) and the
//     same weighted sums over the points for the expected proportions;
//   - one OLTHX2B call, and the whole number-correct stage (two item
//     selections, four calls, the report section).
// The reference's expected proportions must agree with OLTHX2's to rounding;
// the benchmark exits with status 1 when they do not.
//
//   bench_ncscore            all of the above, best of several runs each
//   bench_ncscore route      one OLTHX2 call only   } for timing the two ways
//   bench_ncscore reference  the reference only     } as whole processes
//   bench_ncscore check      the agreement alone, once, on 300 respondents
//                            and 20 items (the test command's quick check)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fresh_folders.h"
#include "model/Getqua.h"
#include "run_state.h"
#include "simulated_job.h"
#include "statistics/Diamml2.h"
#include "statistics/Itcorr.h"
#include "statistics/Olthx2.h"

using namespace vorm;

namespace {

using Clock = std::chrono::steady_clock;
using bench::seconds_since;

constexpr int NCATS = 10, NQUAD = 50, MODEL = 8;
int NSUBJ = 2000, NITEM = 100;

// Every respondent of the store, over the store's grid.
struct Job : bench::RunState {
    std::optional<FittedModel> fm;
    std::optional<NcSample> sample;
    Job() {
        test::fill_simulated(*job, *st, MODEL, std::vector<int>(NITEM, NCATS), NSUBJ, 0.0, 21);
        job->NQUAD = NQUAD;
        double mean = 0.0, sd = 0.0;
        GETQUA(st->XQUAD, st->WQUAD, mean, NQUAD, sd);
        for (int q = 1; q <= NQUAD; ++q) st->DENS(q) = st->WQUAD(q);
        fm.emplace(fitted_model(*job, *st));
        sample.emplace(NcSample{st->RESP, NSUBJ, false, st->XQUAD, st->WQUAD, NQUAD});
        ITCORR(con, *fm, *sample, ws->fit.nc, 1);
    }
    void olthx2(bool rest) {
        NumberCorrectWork& w = ws->fit.nc;
        (rest ? OLTHX2B : OLTHX2)(con, *fm, *sample, w, ws->ptab, {NITEM, rest ? w.CSCHI : w.SCHI});
    }
};

// The plain way, score fastest as the tables are laid out: S(s, q) over the
// scores 0..R of the items so far, T the second table.  Its loops are those
// of the definition, ordered so that the innermost runs over contiguous
// scores.
struct Reference {
    double S[(MAXSCORE + 1) * MAXQUAD];
    double T[(MAXSCORE + 1) * MAXQUAD];
    double H[MAXSCORE + 1];
    double E[MAXSCORE + 1][MAXCAT];  // proportions of the studied item by full score
    double& s(int score, int q) { return S[score + (MAXSCORE + 1) * (q - 1)]; }
    double& t(int score, int q) { return T[score + (MAXSCORE + 1) * (q - 1)]; }
};

int score_step(const NcItemTable& NC, const ItemInts& NCAT, int j, int k) {
    return NC(j, 3) == 1 ? NCAT(j) - 1 - k : k;
}

// The score distribution over the items in the score other than `left_out`.
int plain_recursion(Reference& r, const ProbabilityTable& PT, const NcItemTable& NC, const ItemInts& NCAT,
                    int left_out) {
    int R = -1;
    for (int j = 1; j <= NITEM; ++j) {
        if (NC(j, 1) != 1 || j == left_out) continue;
        const int C = NCAT(j);
        if (R < 0) {
            for (int q = 1; q <= NQUAD; ++q)
                for (int k = 0; k < C; ++k) r.s(score_step(NC, NCAT, j, k), q) = PT.P(q, j, k);
            R = C - 1;
            continue;
        }
        for (int q = 1; q <= NQUAD; ++q)
            for (int s = 0; s <= R + C - 1; ++s) r.t(s, q) = 0.0;
        // Score steps from the highest, as the recursion adds them to each
        // new score (in increasing order of the old score), a pass each.
        for (int q = 1; q <= NQUAD; ++q)
            for (int c = C - 1; c >= 0; --c) {
                const double p = PT.P(q, j, score_step(NC, NCAT, j, c));
                for (int s = 0; s <= R; ++s) r.t(s + c, q) += r.s(s, q) * p;
            }
        R += C - 1;
        for (int q = 1; q <= NQUAD; ++q)
            for (int s = 0; s <= R; ++s) {
                r.s(s, q) = r.t(s, q);
                r.t(s, q) = 0.0;
            }
    }
    return R;
}

// OLTHX2's expected proportions of every item by the plain way; the largest
// relative difference from `NCEXP` when given.
double reference(Reference& r, Job& j, const NumberCorrectWork* engine) {
    const ProbabilityTable& PT = j.ws->ptab;
    const NcItemTable& NC = j.ws->fit.nc.NCITEM;
    const ItemInts& NCAT = j.job->NCAT;
    const QuadReals& W = j.st->WQUAD;
    const int SMAX = plain_recursion(r, PT, NC, NCAT, 0);
    for (int s = 0; s <= SMAX; ++s) {
        r.H[s] = 0.0;
        for (int q = 1; q <= NQUAD; ++q) r.H[s] += W(q) * r.s(s, q);
    }
    double worst = 0.0;
    for (int i = 1; i <= NITEM; ++i) {
        const int RMAX = plain_recursion(r, PT, NC, NCAT, i);
        for (int s = 0; s <= SMAX; ++s)
            for (int k = 0; k < NCAT(i); ++k) r.E[s][k] = 0.0;
        for (int s = 0; s <= RMAX; ++s)
            for (int k = 0; k < NCAT(i); ++k) {
                double sum = 0.0;
                for (int q = 1; q <= NQUAD; ++q) sum += W(q) * r.s(s, q) * PT.P(q, i, k);
                const int at = s + score_step(NC, NCAT, i, k);
                r.E[at][k] = sum / r.H[at];
            }
        if (engine == nullptr) continue;
        for (int s = 0; s <= SMAX; ++s)
            for (int k = 0; k < NCAT(i); ++k) {
                const double a = engine->NCEXP(s, i, k), b = r.E[s][k];
                if (b > 1e-300) worst = std::max(worst, std::fabs(a - b) / b);
                if (!(b > 1e-300) && a > 1e-290) worst = 1.0;
            }
    }
    return worst;
}

// Multiply-adds of the recursions: the full score and the rest scores as the
// plain way forms them.
double plain_multiply_adds() {
    double full = 0.0;
    for (int n = 1; n < NITEM; ++n) full += static_cast<double>(NQUAD) * NCATS * (n * (NCATS - 1) + 1);
    double rest = 0.0;
    for (int n = 1; n < NITEM - 1; ++n) rest += static_cast<double>(NQUAD) * NCATS * (n * (NCATS - 1) + 1);
    return full + NITEM * rest;
}

// The same for OLTHX2's way: the full score, the additions of the halving
// route and, per item, the weighting and the sums over the points.
double route_add(int R, int items, double& madds) {
    for (int t = 0; t < items; ++t, R += NCATS - 1) madds += static_cast<double>(NQUAD) * NCATS * (R + 1);
    return R;
}
void route_below(int lo, int hi, int R, double& madds) {
    if (hi - lo == 1) {
        madds += static_cast<double>(NQUAD) * (NCATS + 1) * (R + 1);
        return;
    }
    const int mid = (lo + hi) / 2;
    route_below(lo, mid, route_add(R, hi - mid, madds), madds);
    route_below(mid, hi, route_add(R, mid - lo, madds), madds);
}
double route_multiply_adds() {
    double madds = 0.0;
    route_add(NCATS - 1, NITEM - 1, madds);
    route_below(0, NITEM, 0, madds);
    return madds;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    if (only == "check") {
        NSUBJ = 300;
        NITEM = 20;
    }
    auto j = std::make_unique<Job>();
    auto ref = std::make_unique<Reference>();
    if (only == "route") {
        j->olthx2(false);
        return 0;
    }
    if (only == "reference") {
        j->olthx2(false);  // the probability table the reference reads
        std::printf("%g\n", reference(*ref, *j, nullptr));
        return 0;
    }
    if (only == "check") {
        j->olthx2(false);
        const double worst = reference(*ref, *j, &j->ws->fit.nc);
        std::printf(
            "number-correct chi-squares (%d x %d): expected proportions %s (largest relative difference %.2g)\n", NSUBJ,
            NITEM, worst < 1e-12 ? "agree" : "DIFFER", worst);
        return worst < 1e-12 ? 0 : 1;
    }

    double best_route = 1e30, best_rest = 1e30, best_stage = 1e30, best_ref = 1e30;
    for (int k = 0; k < 5; ++k) {
        auto t0 = Clock::now();
        j->olthx2(false);
        best_route = std::min(best_route, seconds_since(t0));
        t0 = Clock::now();
        j->olthx2(true);
        best_rest = std::min(best_rest, seconds_since(t0));
    }
    j->olthx2(false);
    double worst = 0.0;
    for (int k = 0; k < 2; ++k) {
        auto t0 = Clock::now();
        worst = reference(*ref, *j, &j->ws->fit.nc);
        best_ref = std::min(best_ref, seconds_since(t0));
    }
    // Last: the stage leaves the second item selection in NCITEM.
    Io io(j->con, j->in);
    io.units.open_in_memory();
    for (int i = 1; i <= NITEM; ++i) j->ws->fit.ITORD(i) = i;
    for (int k = 0; k < 3; ++k) {
        auto t0 = Clock::now();
        number_correct_section(io, *j->fm, *j->sample, j->ws->fit, j->ws->ptab);
        best_stage = std::min(best_stage, seconds_since(t0));
    }
    const double madds = plain_multiply_adds();
    std::printf("number-correct chi-squares (%d x %d, %d categories, %d points, model %d)\n", NSUBJ, NITEM, NCATS,
                NQUAD, MODEL);
    const double route = route_multiply_adds();
    std::printf("  OLTHX2 (full score)      %9.1f ms   (%.2g multiply-adds, %.2g a second)\n", best_route * 1e3, route,
                route / best_route);
    std::printf("  OLTHX2B (rest score)     %9.1f ms\n", best_rest * 1e3);
    std::printf("  reference, from scratch  %9.1f ms   (%.1f times as long; %.2g multiply-adds, %.2g a second)\n",
                best_ref * 1e3, best_ref / best_route, madds, madds / best_ref);
    std::printf("  number-correct stage     %9.1f ms   (two selections, four calls, the section)\n", best_stage * 1e3);
    const bool same = worst < 1e-12;
    std::printf("  expected proportions %s (largest relative difference %.2g)\n", same ? "agree" : "DIFFER", worst);
    return same ? 0 : 1;
}
