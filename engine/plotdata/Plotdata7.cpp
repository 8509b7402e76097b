// Observed versus expected response against theta minus delta: every answered
// respondent-item pair, ordered by its distance and cut into NTDGRP groups of
// nearly equal size (the first groups one larger), gives per group the mean
// distance, the mean observed and the mean expected response.
#include "common/Sortit.h"
#include "common/stopsignal.h"
#include "model/Evaluate.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

namespace {
constexpr int MAXTDGRP = 2000;  // the most theta-delta groups
}  // namespace

void PLOTDATA7(Io& io, const FittedModel& fm, PlotWork& w, int NTDGRP, const std::string& WRKDIR) {
    const int groups = NTDGRP > MAXTDGRP ? MAXTDGRP : NTDGRP;
    if (!model_traits(fm.MODEL).valid) plot_stop(io, "Error model while calculating item expected value.");
    const Store& st = fm.st;
    const int NITEM = fm.NITEM, NSUBJ = fm.NSUBJ;

    int kmax = 0;
    for (int i = 1; i <= NITEM; ++i)
        if (fm.item(i).K > kmax) kmax = fm.item(i).K;
    int npair = 0;
    ModelValues mv;
    for (int j = 1; j <= NSUBJ; ++j) {
        stop_point();
        for (int i = 1; i <= NITEM; ++i) {
            const int x = st.RESP(j, i);
            if (x < 0) continue;
            ++npair;
            evaluate_point(mv, fm.MODEL, PROBABILITIES, fm.item(i), st.THETA(j));
            w.PTAG(npair) = npair;
            w.PDIST(npair) = st.THETA(j) - fm.item(i).delta;
            w.PEXP(npair) = expected_score(mv, fm.item(i).K);
            w.POBS(npair) = x;
        }
    }
    SORTIT(PlotWork::MAXPAIR, w.PTAG.data(), w.PDIST.data(), npair);

    PlotData data(io, WRKDIR, "PLOT7");
    const int b = groups > 0 ? npair / groups : 0;
    const int r = npair - b * groups;
    double s = 0.0, t = 0.0;  // smallest and largest mean distance, both from 0
    int first = 1;
    for (int g = 1; g <= groups; ++g) {
        const int count = g <= r ? b + 1 : b;
        // Fewer pairs than groups leaves the last groups empty: no line.
        if (count == 0) continue;
        double dist = 0.0, obs = 0.0, expd = 0.0;
        for (int p = first; p < first + count; ++p) {
            const int v = w.PTAG(p);
            dist += w.PDIST(p);
            obs += w.POBS(v);
            expd += w.PEXP(v);
        }
        first += count;
        const double rc = 1.0 / count;
        dist *= rc;
        obs *= rc;
        expd *= rc;
        data.line("(F12.6,1X,F12.6,1X,F12.6)", {dist, obs, expd});
        if (dist > t) t = dist;
        if (dist < s) s = dist;
    }
    data.close();

    PlotScript sc;
    sc.title = "Average Observed Versus Expected Value";
    sc.xlabel = "Theta - Delta";
    sc.ylabel = "Average";
    sc.xrange = plot_range(field("(I12)", static_cast<int>(s - 1.0)), field("(I12)", static_cast<int>(t + 1.0)));
    sc.yrange = plot_range("0", field("(I1)", kmax - 1));
    sc.clauses = {{"1:2", "Observed", "points"}, {"1:3", "Expected", "lines"}};
    sc.name = "plot7";
    write_plot_script(io, WRKDIR, "PLOT7", sc);
}

}  // namespace vorm
