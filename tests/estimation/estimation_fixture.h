// Jobs for the estimation tests built straight from simulated data: the
// responses go into the store and the job settings as data input would leave
// them, so estimation can run without a data file.
#pragma once

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Store.h"
#include "common/io.h"
#include "driver/Workspace.h"
#include "numlib/Numlib_error.h"
#include "simulate.h"
#include "test_support.h"

namespace vorm::test {

struct EstimationJob {
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    std::ostringstream console;
    std::istringstream input;
    Io io{console, input};
    TempDir dir;
    vormsim::Design design;
    vormsim::Data data;

    EstimationJob() {
        // Each job starts with the library's default error tables, as a run does.
        numlib_reset();
        numlib_set_console(&console);
        io.units.open_in_memory();
    }
    ~EstimationJob() { numlib_set_console(nullptr); }

    std::string report() const { return io.units.contents(Unit::FT06); }
    std::string status() const { return read_file(dir.file("status")); }
};

// Simulates `nsubj` respondents for `model` with the given category counts
// and loads them.  The start signs come from the principal components, as in
// a job that does not give them; `signs_given` takes them from the true
// locations instead (ISIGN by data-file number).
inline std::unique_ptr<EstimationJob> simulated_job(int model, const std::vector<int>& cats, int nsubj,
                                                    std::uint64_t seed, int nquad = 30, bool signs_given = false) {
    auto e = std::make_unique<EstimationJob>();
    e->design.model = model;
    e->design.items = vormsim::typical_items(model, cats, seed);
    e->design.nsubj = nsubj;
    e->design.seed = seed + 1000;
    e->data = vormsim::simulate(e->design);
    JobSettings& job = *e->job;
    Store& st = *e->st;
    const int n = static_cast<int>(cats.size());
    job.MODEL = model;
    job.NITEM = n;
    job.NSUBJ = nsubj;
    job.LCATC = -1;
    for (int i = 1; i <= n; ++i) {
        job.NCAT(i) = cats[static_cast<std::size_t>(i - 1)];
        if (job.NCAT(i) != job.NCAT(1)) job.LCATC = 0;
        st.ITEMID(i) = i;
        job.ISIGN(i) = e->design.items[static_cast<std::size_t>(i - 1)].delta < 0.0 ? 0 : 1;
    }
    for (int j = 1; j <= nsubj; ++j)
        for (int i = 1; i <= n; ++i)
            st.RESP(j, i) = e->data.resp[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)];
    job.ISGNSP = signs_given ? 1 : 0;
    job.SIGNR = 1.0;
    job.NQUAD = nquad;
    job.MAXOUT = 200;
    job.MAXIN = 10;
    job.MAXFSU = 10;
    job.MAXFST = 10;
    job.MAXFSI = 10;
    job.CONVC = 0.001;
    job.ICONST = 0;
    job.WRKDIR = e->dir.folder();
    job.LWRK = static_cast<int>(job.WRKDIR.size());
    return e;
}

// Puts the simulation's true item parameters into the store (the common
// unit and thresholds from the first item).
inline void true_parameters(EstimationJob& e) {
    for (int i = 1; i <= e.job->NITEM; ++i) {
        const auto& it = e.design.items[static_cast<std::size_t>(i - 1)];
        e.st->DELTA(i) = it.delta;
        e.st->ALPHA(i) = it.alpha;
        e.st->LAMBDA(i) = it.lambda;
        for (int k = 0; k < it.K; ++k) e.st->TAU(i, k) = it.tau[static_cast<std::size_t>(k)];
    }
    const auto& first = e.design.items[0];
    e.st->UNIT = first.lambda;
    for (int k = 0; k < first.K; ++k) e.st->TAUC(k) = first.tau[static_cast<std::size_t>(k)];
}

inline double correlation(const std::vector<double>& x, const std::vector<double>& y) {
    const double n = static_cast<double>(x.size());
    double mx = 0, my = 0;
    for (std::size_t k = 0; k < x.size(); ++k) mx += x[k] / n, my += y[k] / n;
    double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        sxy += (x[k] - mx) * (y[k] - my);
        sxx += (x[k] - mx) * (x[k] - mx);
        syy += (y[k] - my) * (y[k] - my);
    }
    return sxy / std::sqrt(sxx * syy);
}

}  // namespace vorm::test
