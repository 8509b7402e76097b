#include "estimation/Randn2.h"

#include "common/stopsignal.h"

namespace vorm {

void RANDN2(std::ostream& con, const JobSettings& job, const Store& st, int MODEL, ExpectedCounts& ec,
            ProbabilityTable& PT) {
    const ItemInts& NCAT = job.NCAT;
    const int NITEM = job.NITEM, NQUAD = job.NQUAD, NSUBJ = job.NSUBJ;
    const QuadReals& WQUAD = st.WQUAD;
    auto& RBAR = ec.RBAR;
    auto& NBAR = ec.NBAR;
    fill_probability_table(con, PT, model_parameters(st, MODEL, NCAT, NITEM), st.XQUAD, NQUAD,
                           " THE MODEL NUMBER IN RANDN2 IS INCORRECT ");
    for (int j = 1; j <= NITEM; ++j)
        for (int q = 1; q <= NQUAD; ++q) {
            for (int c = 0; c < NCAT(j); ++c) RBAR(q, j, c) = 0.0;
            NBAR(q, j) = 0.0;
        }

    constexpr int stride = decltype(st.RESP)::n1;
    const double* wq = WQUAD.data();
    // Likelihood and posterior weight of the current respondent at each point,
    // aligned like the tables they are multiplied with and added to.
    alignas(64) QuadReals LQ, POST;
    double* post = POST.data();
    ec.without_likelihood = 0;
    for (int s = 1; s <= NSUBJ; ++s) {
        stop_point();
        int scale = 0;
        const double pn = respondent_likelihood(st, PT, s, WQUAD, LQ, scale);
        if (!(pn > 0.0)) {  // nothing answered can be credited
            if (ec.without_likelihood == 0) ec.without_likelihood = s;
            continue;
        }
        const double* lq = LQ.data();
        for (int q = 0; q < NQUAD; ++q) post[q] = lq[q] * wq[q] / pn;
        const int* resp = &st.RESP(s, 1);
        for (int j = 1; j <= NITEM; ++j) {
            const int r = resp[(j - 1) * stride];
            if (r < 0 || r >= NCAT(j)) continue;  // missing, as in the likelihood
            double* rb = &RBAR(1, j, r);
            double* nb = &NBAR(1, j);
            for (int q = 0; q < NQUAD; ++q) {
                rb[q] += post[q];
                nb[q] += post[q];
            }
        }
    }
}

}  // namespace vorm
