// Jobs for the fit analysis tests: the store as the earlier stages leave it
// (items, abilities and responses given directly), in-memory unit files, and
// the model evaluated independently by the simulator.
#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Store.h"
#include "common/io.h"
#include "driver/Workspace.h"
#include "simulate.h"
#include "statistics/Diamml2.h"

namespace vorm::test {

struct FitJob {
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    std::ostringstream console;
    std::istringstream input;
    Io io{console, input};
    int model = 0;
    std::vector<vormsim::Item> items;
    std::vector<double> theta;
    std::vector<std::vector<int>> resp;  // resp[n][i], negative: missing

    FitJob(int model_, std::vector<vormsim::Item> items_, std::vector<double> theta_,
           std::vector<std::vector<int>> resp_)
        : model(model_), items(std::move(items_)), theta(std::move(theta_)), resp(std::move(resp_)) {
        io.units.open_in_memory();
        JobSettings& j = *job;
        j.MODEL = model;
        j.NITEM = static_cast<int>(items.size());
        j.NSUBJ = static_cast<int>(theta.size());
        for (int i = 1; i <= j.NITEM; ++i) {
            const vormsim::Item& it = items[static_cast<std::size_t>(i - 1)];
            j.NCAT(i) = it.K;
            st->ITEMID(i) = i;
            st->DELTA(i) = it.delta;
            st->ALPHA(i) = it.alpha;
            st->LAMBDA(i) = it.lambda;
            for (int k = 0; k < it.K; ++k) st->TAU(i, k) = it.tau.empty() ? 0.0 : it.tau[static_cast<std::size_t>(k)];
        }
        // The common unit and thresholds are those of the first item.
        st->UNIT = items[0].lambda;
        for (int k = 0; k < items[0].K && !items[0].tau.empty(); ++k) st->TAUC(k) = items[0].tau[k];
        for (int n = 1; n <= j.NSUBJ; ++n) {
            st->PERSID(n) = n;
            st->THETA(n) = theta[static_cast<std::size_t>(n - 1)];
            for (int i = 1; i <= j.NITEM; ++i)
                st->RESP(n, i) = resp[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(i - 1)];
        }
        j.NFITG = 2;
        j.ITTCUT = j.PSTCUT = j.PSLCUT = 2.0;
        j.ITALPH = j.PSALPH = 0.05;
    }

    void run() { DIAMML2(io, *job, *st, ws->fit, ws->ptab); }
    const FitWork& fit() const { return ws->fit; }
    std::string report() const { return io.units.contents(Unit::FT15); }
    std::string detail() const { return io.units.contents(Unit::FT18); }
    std::vector<double> probabilities(int i, double th) const {
        return vormsim::probabilities(model, items[static_cast<std::size_t>(i - 1)], th);
    }
};

// A simulated job: the simulator's items, true abilities and responses.
inline std::unique_ptr<FitJob> simulated_fit_job(int model, const std::vector<int>& cats, int nsubj,
                                                 double missing_rate, std::uint64_t seed) {
    vormsim::Spec spec;
    spec.model = model;
    spec.items = vormsim::typical_items(model, cats, seed);
    spec.nsubj = nsubj;
    spec.missing_rate = missing_rate;
    spec.seed = seed + 1;
    vormsim::Data d = vormsim::simulate(spec);
    return std::make_unique<FitJob>(model, spec.items, d.theta, d.resp);
}

}  // namespace vorm::test
