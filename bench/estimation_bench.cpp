// Times the expectation step against a plain loop that does the same
// multiply-adds over a probability table, and the whole item estimation, at
// the largest size the capacities allow and at a realistic size.
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/io.h"
#include "driver/Stages.h"
#include "driver/Store.h"
#include "estimation/Randn2.h"
#include "model/Getqua.h"
#include "simulate.h"

using namespace vorm;

namespace {

using Clock = std::chrono::steady_clock;
double seconds_since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// The reference: the expectation step's arithmetic written as plain loops on
// tables of its own (likelihood product, marginal, posterior, two adds).
PointItemCatReals REF_P, REF_R;
PointItemReals REF_N;
double REF_LQ[MAXQUAD], REF_W[MAXQUAD];

double reference_step(const Store& st, const JobSettings& job) {
    const int nq = job.NQUAD, ni = job.NITEM;
    for (int i = 1; i <= ni; ++i)
        for (int q = 1; q <= nq; ++q) {
            REF_N(q, i) = 0.0;
            for (int c = 0; c < job.NCAT(i); ++c) REF_R(q, i, c) = 0.0;
        }
    for (int j = 1; j <= job.NSUBJ; ++j) {
        for (int q = 0; q < nq; ++q) REF_LQ[q] = 1.0;
        for (int i = 1; i <= ni; ++i) {
            const int r = st.RESP(j, i);
            if (r < 0) continue;
            for (int q = 0; q < nq; ++q) REF_LQ[q] *= REF_P(q + 1, i, r);
        }
        double pn = 0.0;
        for (int q = 0; q < nq; ++q) pn += REF_LQ[q] * st.WQUAD(q + 1);
        for (int q = 0; q < nq; ++q) REF_W[q] = REF_LQ[q] * st.WQUAD(q + 1) / pn;
        for (int i = 1; i <= ni; ++i) {
            const int r = st.RESP(j, i);
            if (r < 0) continue;
            for (int q = 0; q < nq; ++q) {
                REF_R(q + 1, i, r) += REF_W[q];
                REF_N(q + 1, i) += REF_W[q];
            }
        }
    }
    return REF_N(1, 1);
}

struct Size {
    const char* name;
    int nsubj, nitem, ncat, nquad, model;
};

void run(const Size& z) {
    auto job = std::make_unique<JobSettings>();
    auto st = std::make_unique<Store>();
    vormsim::Spec spec;
    spec.model = z.model;
    spec.items = vormsim::typical_items(z.model, std::vector<int>(static_cast<std::size_t>(z.nitem), z.ncat), 7);
    spec.nsubj = z.nsubj;
    spec.seed = 8;
    const vormsim::Data data = vormsim::simulate(spec);
    job->MODEL = z.model;
    job->NITEM = z.nitem;
    job->NSUBJ = z.nsubj;
    job->LCATC = -1;
    for (int i = 1; i <= z.nitem; ++i) {
        job->NCAT(i) = z.ncat;
        st->ITEMID(i) = i;
        job->ISIGN(i) = spec.items[static_cast<std::size_t>(i - 1)].delta < 0 ? 0 : 1;
    }
    for (int j = 1; j <= z.nsubj; ++j)
        for (int i = 1; i <= z.nitem; ++i)
            st->RESP(j, i) = data.resp[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)];
    job->ISGNSP = 1;
    job->SIGNR = 1.0;
    job->NQUAD = z.nquad;
    job->MAXOUT = 50;
    job->MAXIN = 10;
    job->MAXFSU = job->MAXFST = job->MAXFSI = 10;
    job->CONVC = 0.001;
    job->WRKDIR = "./";

    std::ostringstream con;
    std::istringstream in;
    Io io(con, in);
    io.units.open_in_memory();
    INITVL(io, *job, *st);
    GETQUA(st->XQUAD, st->WQUAD, job->XMEAN, job->NQUAD, job->XSD);

    // Fill the reference table from the model at the start values, once.
    RANDN2(con, *st, st->WQUAD, job->MODEL, job->NCAT, job->NITEM, job->NQUAD, job->NSUBJ, st->UNIT, st->TAUC,
           st->XQUAD);
    for (int i = 1; i <= z.nitem; ++i)
        for (int q = 1; q <= z.nquad; ++q)
            for (int c = 0; c < z.ncat; ++c) REF_P(q, i, c) = 1.0 / z.ncat + 0.01 * ((q + c) % 3);

    const int reps = 20;
    double best_e = 1e30, best_r = 1e30, sink = 0.0;
    for (int k = 0; k < reps; ++k) {
        auto t0 = Clock::now();
        RANDN2(con, *st, st->WQUAD, job->MODEL, job->NCAT, job->NITEM, job->NQUAD, job->NSUBJ, st->UNIT, st->TAUC,
               st->XQUAD);
        best_e = std::min(best_e, seconds_since(t0));
        t0 = Clock::now();
        sink += reference_step(*st, *job);
        best_r = std::min(best_r, seconds_since(t0));
    }
    auto t0 = Clock::now();
    MMLEST(io, *job, *st);
    const double whole = seconds_since(t0);
    std::printf("%s (%d x %d, %d categories, %d points, model %d)\n", z.name, z.nsubj, z.nitem, z.ncat, z.nquad,
                z.model);
    std::printf("  expectation step     %9.3f ms\n", best_e * 1e3);
    std::printf("  reference loop       %9.3f ms   (ratio %.2f)\n", best_r * 1e3, best_e / best_r);
    const std::string rep = io.units.contents(Unit::FT06);
    const auto at = rep.find("CRITERION MET AFTER ");
    const std::string cycles = at == std::string::npos ? "?" : rep.substr(at + 20, rep.find(' ', at + 20) - at - 20);
    std::printf("  whole estimation     %9.3f s    (chain 3, 4, 8; model 8 outer cycles: %s)\n", whole, cycles.c_str());
    if (sink == 12345.678) std::printf(" ");
}

}  // namespace

int main() {
    run({"largest", 2000, 100, 10, 50, 8});
    run({"realistic", 1000, 20, 6, 30, 8});
    return 0;
}
