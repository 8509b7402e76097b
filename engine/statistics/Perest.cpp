#include "statistics/Perest.h"

#include <cmath>

#include "common/stopsignal.h"

namespace vorm {

int PEREST(std::ostream& con, const JobSettings& job, Store& st, ProbabilityTable& PT) {
    const int NQUAD = job.NQUAD, NSUBJ = job.NSUBJ;
    const QuadReals& XQUAD = st.XQUAD;
    const QuadReals& WQUAD = st.WQUAD;
    fill_probability_table(con, PT, model_parameters(st, job.MODEL, job.NCAT, job.NITEM), XQUAD, NQUAD,
                           " THE MODEL NUMBER IN RANDN2 IS INCORRECT ");
    QuadReals LQ;
    int without_likelihood = 0;
    for (int j = 1; j <= NSUBJ; ++j) {
        stop_point();
        int scale = 0;
        double S = respondent_likelihood(st, PT, j, WQUAD, LQ, scale);
        if (!(S > 0.0)) {
            if (without_likelihood == 0) without_likelihood = j;
            // Nothing can be learnt from this respondent's answers: the prior.
            S = 0.0;
            for (int q = 1; q <= NQUAD; ++q) {
                LQ(q) = 1.0;
                S += WQUAD(q);
            }
        }
        double T = 0.0;
        for (int q = 1; q <= NQUAD; ++q) T += XQUAD(q) * LQ(q) * WQUAD(q);
        const double th = T * (1.0 / S);
        double V = 0.0;
        for (int q = 1; q <= NQUAD; ++q) {
            const double d = XQUAD(q) - th;
            V += d * d * LQ(q) * WQUAD(q);
        }
        st.THETA(j) = th;
        st.TSTD(j) = std::sqrt(V * (1.0 / S));
    }
    return without_likelihood;
}

}  // namespace vorm
