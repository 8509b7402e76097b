// Histogram of the person estimates: 16 bins of width 0.5 with upper edges
// -3.5 to 4.0; the first bin also takes every estimate below -3.5, and an
// estimate of 4.0 or more is counted nowhere.  Shares are of all respondents.
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTEAP(Io& io, const FittedModel& fm, const std::string& WRKDIR) {
    const int NSUBJ = fm.NSUBJ;
    constexpr int NBIN = 16;
    int count[NBIN + 1] = {};
    for (int j = 1; j <= NSUBJ; ++j) {
        for (int k = 1; k <= NBIN; ++k) {
            if (-3.5 + 0.5 * (k - 1) > fm.st.THETA(j)) {
                ++count[k];
                break;
            }
        }
    }
    PlotData data(io, WRKDIR, "PLOTEAP");
    const double r = 1.0 / NSUBJ;
    double p = -1.0;
    for (int k = 1; k <= NBIN; ++k) {
        const double share = count[k] * r;
        data.line("(F8.3,1X,F8.3)", {-3.75 + 0.5 * (k - 1), share});
        if (share > p) p = share;
    }
    data.close();

    write_plot_script(io, WRKDIR, "PLOTEAP", share_script("Distribution of EAP Estimates", "Proportion", "boxes", p));
}

}  // namespace vorm
