// Jobs for the fit analysis tests: the store as the earlier stages leave it,
// the items' parameters, the abilities and the responses given directly (the
// simulator's, or a small set written out), and the model evaluated
// independently by the simulator.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../estimation/estimation_fixture.h"
#include "statistics/Diamml2.h"

namespace vorm::test {

struct FitJob : EstimationJob {
    FitJob(int model, std::vector<vormsim::Item> items, std::vector<double> theta, std::vector<std::vector<int>> resp) {
        design.model = model;
        design.items = std::move(items);
        data.theta = std::move(theta);
        data.resp = std::move(resp);
        JobSettings& j = *job;
        j.MODEL = model;
        j.NITEM = static_cast<int>(design.items.size());
        j.NSUBJ = static_cast<int>(data.theta.size());
        for (int i = 1; i <= j.NITEM; ++i) {
            j.NCAT(i) = design.items[static_cast<std::size_t>(i - 1)].K;
            design.items[static_cast<std::size_t>(i - 1)].tau.resize(static_cast<std::size_t>(j.NCAT(i)));
            st->ITEMID(i) = i;
        }
        true_parameters(*this);
        for (int n = 1; n <= j.NSUBJ; ++n) {
            st->PERSID(n) = n;
            st->THETA(n) = data.theta[static_cast<std::size_t>(n - 1)];
            for (int i = 1; i <= j.NITEM; ++i)
                st->RESP(n, i) = data.resp[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(i - 1)];
        }
        j.NFITG = 2;
        j.ITTCUT = j.PSTCUT = j.PSLCUT = 2.0;
        j.ITALPH = j.PSALPH = 0.05;
    }

    void run() { DIAMML2(io, *job, fitted_model(*job, *st), ws->fit, ws->ptab); }
    // The responses and their count as given, apart from the store.
    int response(int n, int i) const {
        return data.resp[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(i - 1)];
    }
    int subjects() const { return static_cast<int>(data.resp.size()); }
    const FitWork& fit() const { return ws->fit; }
    std::string fit_report() const { return io.units.contents(Unit::FT15); }
    std::string detail() const { return io.units.contents(Unit::FT18); }
    std::vector<double> probabilities(int i, double th) const {
        return vormsim::probabilities(design.model, design.items[static_cast<std::size_t>(i - 1)], th);
    }
};

// A simulated job: the simulator's items, true abilities and responses.
inline std::unique_ptr<FitJob> simulated_fit_job(int model, const std::vector<int>& cats, int nsubj,
                                                 double missing_rate, std::uint64_t seed) {
    vormsim::Design design;
    design.model = model;
    design.items = vormsim::typical_items(model, cats, seed);
    design.nsubj = nsubj;
    design.missing_rate = missing_rate;
    design.seed = seed + 1;
    vormsim::Data d = vormsim::simulate(design);
    return std::make_unique<FitJob>(model, design.items, d.theta, d.resp);
}

}  // namespace vorm::test
