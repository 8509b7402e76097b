// Item fit plots: respondents ordered by their estimate and cut into NTHGRP
// groups of nearly equal size (the first groups one larger); per item and
// group the mean estimate, the mean observed and expected response and a band
// of two standard errors around the expected mean.  Items are written in order
// of increasing DELTA.
#include <cmath>

#include "common/Sortit.h"
#include "common/stopsignal.h"
#include "model/Fillcommon.h"
#include "model/Probm.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

namespace {

// Expected score and response variance of respondent j on item i (K
// categories) at the respondent's estimate; both come from the one set of
// probabilities.
void expected_score_and_variance(ModelValues& mv, const Store& st, int MODEL, int j, int i, int K, double UNIT,
                                 const CatReals& TAUC, double& e, double& v) {
    PROBM(mv, st, MODEL, j, i, K, UNIT, TAUC, st.THETA.data());
    e = expected_score(mv, K);
    v = 0.0;
    for (int c = 0; c < K; ++c) v += (c - e) * (c - e) * mv.PROB(c);
}

void write_script(Io& io, const Store& st, int MODEL, double UNIT, int i, int K, const std::string& base,
                  const std::string& WRKDIR) {
    PlotScript s;
    s.title = item_title("Mean Expected Value Function and Mean Observed Response\\n Item#:", st, MODEL, UNIT, i, K);
    s.ylabel = "Mean";
    s.yrange = plot_range("0", field("(I1)", K - 1));
    s.clauses = {{"4:6", "Item #" + item_key(st.ITEMID(i)), "lines"}, {"4:5:9:10", "", "errorbars lt 1 ps 1"}};
    write_plot_script(io, WRKDIR, base, s);
}

}  // namespace

void PLOTDATA1(Io& io, Store& st, PlotWork& w, int NTHGRP, int MODEL, const ItemInts& NCAT, int NITEM, int NSUBJ,
               double UNIT, const CatReals& TAUC, const std::string& WRKDIR) {
    const ModelTraits& pm = model_traits(MODEL);
    if (!pm.valid) plot_stop(io, "Error model while calculating item expected value.");
    fill_common_parameters(st, MODEL, NCAT, NITEM, UNIT, TAUC);

    for (int i = 1; i <= NITEM; ++i) {
        w.ITAG(i) = i;
        w.IKEY(i) = st.DELTA(i);
    }
    SORTIT(MAXITEM, w.ITAG.data(), w.IKEY.data(), NITEM);
    for (int j = 1; j <= NSUBJ; ++j) {
        w.JTAG(j) = j;
        w.JKEY(j) = st.THETA(j);
    }
    SORTIT(MAXSUBJ, w.JTAG.data(), w.JKEY.data(), NSUBJ);

    ModelValues mv;
    const int b = NTHGRP > 0 ? NSUBJ / NTHGRP : 0;
    const int r = NSUBJ - b * NTHGRP;
    for (int n = 1; n <= NITEM; ++n) {
        stop_point();
        const int i = w.ITAG(n);
        const std::string base = "PLOT1" + item_key(st.ITEMID(i));
        PlotData data(io, WRKDIR, base);
        int first = 1;  // sorted position of the group's first respondent
        for (int g = 1; g <= NTHGRP; ++g) {
            const int t = g <= r ? b + 1 : b;
            // An empty group (fewer respondents than groups) has no line.
            if (t == 0) continue;
            const double rt = 1.0 / t;
            double mean_theta = 0.0, obs = 0.0, expd = 0.0, var = 0.0;
            int u = 0;
            for (int p = first; p < first + t; ++p) {
                const int j = w.JTAG(p);
                mean_theta += st.THETA(j) * rt;  // every member counts, answered or not
                const int x = st.RESP(j, i);
                if (x < 0) {
                    ++u;
                    continue;
                }
                double e = 0.0, v = 0.0;
                expected_score_and_variance(mv, st, MODEL, j, i, NCAT(i), UNIT, TAUC, e, v);
                obs += x;
                expd += e;
                var += v;
            }
            first += t;
            if (t == u) continue;  // nobody in the group answered the item
            const int m = t - u;
            const double o = obs / m, e = expd / m, v = var / m;
            const double band = 2.0 * std::sqrt(v / m);
            data.line("(I2,1X,I4,8(1X,F8.3))", {g, t, 0.0, mean_theta, o, e, std::sqrt(v), 0.0, e + band, e - band});
        }
        data.close();
        write_script(io, st, MODEL, UNIT, i, NCAT(i), base, WRKDIR);
    }
}

}  // namespace vorm
