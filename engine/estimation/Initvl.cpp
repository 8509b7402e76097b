#include "estimation/Initvl.h"

#include <cmath>

#include "common/textio.h"
#include "estimation/Derive.h"
#include "model/Traits.h"
#include "numlib/Dcorvc.h"
#include "numlib/Dprinc.h"

namespace vorm {

namespace {
int upper_half(int K) { return static_cast<int>(std::floor(0.5 * K + 0.5)); }
}  // namespace

void INITVL(Io& io, const JobSettings& job, Store& st, StartValueWork& w) {
    const int n = job.NITEM;
    const bool signs_given = job.ISGNSP == 1;
    if (!signs_given) {
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= job.NSUBJ; ++j) w.XMAT(j, i) = static_cast<double>(st.RESP(j, i));
        write_free(io.con, {" COMPUTING CORRELATIONS "});
        int NOBS = 0, NMISS = 0;
        double SUMWT = 0.0;
        DCORVC(0, job.NSUBJ, n, w.XMAT.data(), MAXSUBJ, 0, 0, 1, 2, w.RMEAN.data(), w.CORMAT.data(), MAXITEM,
               w.NPAIR.data(), MAXITEM, NOBS, NMISS, SUMWT);
        write_free(io.con, {" COMPUTING PRINCIPAL COMPONENTS"});
        DPRINC(job.NSUBJ, n, w.CORMAT.data(), MAXITEM, 1, w.EVAL.data(), w.PCTVAR.data(), w.EVSTD.data(), w.EVEC.data(),
               MAXITEM, w.PCCOR.data(), MAXITEM);
    }
    write_free(io.con, {" COMPUTING INITIAL PARAMETER ESTIMATES"});
    DERIVE(job, st);

    for (int i = 1; i <= n; ++i) {
        if (!signs_given) {
            // A loading that is not a number fails the test and counts as negative.
            if (w.EVEC(i, 1) >= 0.0) st.DELTA(i) = -st.DELTA(i);
            st.DELTA(i) = st.DELTA(i) * job.SIGNR;
        } else {
            const int id = st.ITEMID(i);
            const int sign = (id >= 1 && id <= MAXITEM) ? job.ISIGN(id) : 1;
            if (sign == 0) st.DELTA(i) = -st.DELTA(i);
        }
        st.DINIT(i) = st.DELTA(i);
        st.ALPHA(i) = 1.0;
    }

    const double u = st.UNIT;
    const bool unit_model = model_traits(job.MODEL).unit;
    for (int i = 1; i <= n; ++i) {
        const int K = job.NCAT(i);
        st.TAUC(0) = 0.0;
        const double m = u / upper_half(K);
        st.UNIT = m;
        for (int k = 1; k <= K - 1; ++k) st.TAUC(k) = -2.0 * m * (K - k);
        for (int k = 0; k <= K - 1; ++k) {
            st.TAU(i, k) = st.TAUC(k);
            if (unit_model)
                st.PARINI(i, 1) = m;
            else
                st.PARINI(i, k + 1) = st.TAUC(k);
        }
    }
    for (int i = 1; i <= n; ++i) st.LAMBDA(i) = u / upper_half(job.NCAT(i));
}

}  // namespace vorm
