// Item fit plots: respondents ordered by their estimate and cut into NTHGRP
// groups of nearly equal size (the first groups one larger); per item and
// group the mean estimate, the mean observed and expected response and a band
// of two standard errors around the expected mean.  Items are written in order
// of increasing DELTA.
#include <cmath>

#include "common/Sortit.h"
#include "common/stopsignal.h"
#include "model/Evaluate.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

namespace {

struct ScoreMoments {
    double e = 0.0;  // expected score
    double v = 0.0;  // response variance
};

// Expected score and response variance on item i at theta; both come from the
// one set of probabilities.
ScoreMoments expected_score_and_variance(ModelValues& mv, const FittedModel& fm, int i, double theta) {
    const int K = fm.item(i).K;
    evaluate_point(mv, fm.MODEL, PROBABILITIES, fm.item(i), theta);
    ScoreMoments m;
    m.e = expected_score(mv, K);
    for (int c = 0; c < K; ++c) m.v += (c - m.e) * (c - m.e) * mv.PROB(c);
    return m;
}

void write_script(Io& io, const FittedModel& fm, int i, const std::string& base, const std::string& WRKDIR) {
    PlotScript s;
    s.title = item_title("Mean Expected Value Function and Mean Observed Response\\n Item#:", fm, i);
    s.ylabel = "Mean";
    s.yrange = plot_range("0", field("(I1)", fm.item(i).K - 1));
    s.clauses = {{"4:6", "Item #" + item_key(fm.st.ITEMID(i)), "lines"}, {"4:5:9:10", "", "errorbars lt 1 ps 1"}};
    write_plot_script(io, WRKDIR, base, s);
}

}  // namespace

void PLOTDATA1(Io& io, const FittedModel& fm, PlotWork& w, int NTHGRP, const std::string& WRKDIR) {
    const ModelTraits& pm = model_traits(fm.MODEL);
    if (!pm.valid) plot_stop(io, "Error model while calculating item expected value.");
    const Store& st = fm.st;
    const int NITEM = fm.NITEM, NSUBJ = fm.NSUBJ;

    for (int i = 1; i <= NITEM; ++i) {
        w.ITAG(i) = i;
        w.IKEY(i) = fm.item(i).delta;
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
                const ScoreMoments m = expected_score_and_variance(mv, fm, i, st.THETA(j));
                obs += x;
                expd += m.e;
                var += m.v;
            }
            first += t;
            if (t == u) continue;  // nobody in the group answered the item
            const int m = t - u;
            const double o = obs / m, e = expd / m, v = var / m;
            const double band = 2.0 * std::sqrt(v / m);
            data.line("(I2,1X,I4,8(1X,F8.3))", {g, t, 0.0, mean_theta, o, e, std::sqrt(v), 0.0, e + band, e - band});
        }
        data.close();
        write_script(io, fm, i, base, WRKDIR);
    }
}

}  // namespace vorm
