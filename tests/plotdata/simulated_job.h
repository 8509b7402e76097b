// A plot-stage job from simulated data, for the tests and the benchmark: the
// items' true parameters stand for the estimates and the respondents' true
// locations for their estimates.  The responses are drawn with seed + 1, or
// with `data_seed` when it is given (other samples of the same items).
#pragma once

#include <cstdint>
#include <vector>

#include "common/Store.h"
#include "model/Getqua.h"
#include "simulate.h"

namespace vorm::test {

inline void fill_simulated(JobSettings& job, Store& st, int model, const std::vector<int>& ncat, int nsubj,
                           double missing_rate, std::uint64_t seed, std::uint64_t data_seed = 0) {
    vormsim::Design design;
    design.model = model;
    design.items = vormsim::typical_items(model, ncat, seed);
    design.nsubj = nsubj;
    design.missing_rate = missing_rate;
    design.seed = data_seed != 0 ? data_seed : seed + 1;
    const vormsim::Data data = vormsim::simulate(design);
    job.MODEL = model;
    job.NITEM = static_cast<int>(ncat.size());
    job.NSUBJ = nsubj;
    for (int i = 1; i <= job.NITEM; ++i) {
        const vormsim::Item& it = design.items[static_cast<std::size_t>(i - 1)];
        job.NCAT(i) = it.K;
        st.ITEMID(i) = i;
        st.DELTA(i) = it.delta;
        st.ALPHA(i) = model >= 5 ? it.alpha : 1.0;
        st.LAMBDA(i) = it.lambda;
        for (int k = 0; k < it.K; ++k) st.TAU(i, k) = it.tau[static_cast<std::size_t>(k)];
        for (int j = 1; j <= nsubj; ++j)
            st.RESP(j, i) = data.resp[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)];
    }
    st.UNIT = design.items[0].lambda;
    for (int k = 0; k < design.items[0].K; ++k) st.TAUC(k) = design.items[0].tau[static_cast<std::size_t>(k)];
    for (int j = 1; j <= nsubj; ++j) st.THETA(j) = data.theta[static_cast<std::size_t>(j - 1)];
    job.NQUAD = 30;
    double mean = 0.0, sd = 0.0;
    GETQUA(st.XQUAD, st.WQUAD, mean, job.NQUAD, sd);
    for (int q = 1; q <= job.NQUAD; ++q) st.DENS(q) = st.WQUAD(q);
}

}  // namespace vorm::test
