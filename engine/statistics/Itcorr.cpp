#include "statistics/Itcorr.h"

#include <cmath>

#include "common/textio.h"

namespace vorm {

double latent_percentile(double p, const QuadReals& DENS, const QuadReals& XQUAD, int NQUAD) {
    int last = 0;  // the last point whose cumulative density is at most p
    double cum = 0.0, at_last = 0.0;
    for (int q = 1; q <= NQUAD; ++q) {
        cum += DENS(q);
        if (cum <= p) {
            last = q;
            at_last = cum;
        }
    }
    // No bracket below the first point (it already holds more than p) or
    // above the last: the quantile is that point, where the interpolation
    // arrives as the bracket closes.
    if (last == 0) return XQUAD(1);
    if (last == NQUAD) return XQUAD(NQUAD);
    const double next = at_last + DENS(last + 1);
    return XQUAD(last) + (p - at_last) / (next - at_last) * (XQUAD(last + 1) - XQUAD(last));
}

namespace {

int item_score(const FittedModel& fm, const NcSample& sample, const NcItemTable& NCITEM, int n, int i) {
    return score_points(sample.RESP(n, i), fm.item(i).K, NCITEM(i, 3) == 1);
}

// The item of the score whose scores correlate least with the rest of the
// score, and that correlation; 0 when no item's correlation has a value.
int least_correlated(const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w, double& rmin) {
    const int NITEM = fm.NITEM;
    const int NSUBJ = sample.NSUBJ;
    const NcItemTable& NCITEM = w.NCITEM;
    SubjReals& TOTAL = w.TOTAL;
    const double N = NSUBJ;
    double sum_total = 0.0;
    for (int n = 1; n <= NSUBJ; ++n) {
        double t = 0.0;
        for (int i = 1; i <= NITEM; ++i)
            if (NCITEM(i, 1) != 0) t += item_score(fm, sample, NCITEM, n, i);
        TOTAL(n) = t;
        sum_total += t;
    }
    const double tbar = sum_total / N;
    rmin = 999.0;
    int imin = 0;
    for (int i = 1; i <= NITEM; ++i) {
        if (NCITEM(i, 1) == 0) continue;
        double sum = 0.0;
        for (int n = 1; n <= NSUBJ; ++n) sum += item_score(fm, sample, NCITEM, n, i);
        const double m = sum / N;
        double vx = 0.0, c = 0.0, vr = 0.0;
        for (int n = 1; n <= NSUBJ; ++n) {
            const double y = item_score(fm, sample, NCITEM, n, i);
            // The rest score is centred on the mean total less this
            // respondent's own item score over N.
            const double rest = TOTAL(n) - y;
            const double centred = rest - tbar + y / N;
            vx += (y - m) * (y - m);
            c += (y - m) * (rest - (tbar - y / N));
            vr += centred * centred;
        }
        vx /= N;
        c /= N;
        vr /= N;
        if (!(vr * vx > 0.0)) continue;
        const double r = c / std::sqrt(vr * vx);
        if (r < rmin) {
            rmin = r;
            imin = i;
        }
    }
    return imin;
}

}  // namespace

void ITCORR(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w, int mode,
            int max_flips) {
    const int NITEM = fm.NITEM;
    NcItemTable& NCITEM = w.NCITEM;
    const double P10 = latent_percentile(0.1, fm.st.DENS, sample.XQUAD, sample.NQUAD);
    const double P90 = latent_percentile(0.9, fm.st.DENS, sample.XQUAD, sample.NQUAD);
    for (int i = 1; i <= NITEM; ++i) {
        const double delta = fm.item(i).delta;
        NCITEM(i, 1) = NCITEM(i, 2) = 1;
        NCITEM(i, 3) = delta < 0.0 ? 1 : 0;
        if (mode == 2 && P10 <= delta && delta <= P90) NCITEM(i, 1) = NCITEM(i, 2) = NCITEM(i, 3) = 0;
    }
    if (sample.NSUBJ < 1) return;
    // Each flip raises the variance of the total score, so the flips end;
    // the limit guards against rounding keeping two choices alive.
    const int limit = max_flips >= 0 ? max_flips : 10 * NITEM;
    for (int flips = 0;; ++flips) {
        double rmin = 0.0;
        const int i = least_correlated(fm, sample, w, rmin);
        if (i == 0 || !(rmin < 0.0)) return;
        if (flips == limit) {
            write_free(con, {" NC SCORE ITEM SELECTION STOPPED AFTER ", flips,
                             " REVERSALS; THE SCORING DIRECTIONS ARE KEPT AS THEY ARE"});
            return;
        }
        NCITEM(i, 3) = 1 - NCITEM(i, 3);
    }
}

}  // namespace vorm
