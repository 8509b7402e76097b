// Stages 7 and 8 of the fit analysis: fit groups of neighbouring abilities,
// the detail file FT18F001, and the item likelihood-ratio chi-squares over
// the groups.  Both run before any respondent is dropped, so they see every
// respondent of the run; a missing response counts in its group's size (and
// so in the abilities and the expected proportions) but in no category, and
// the observed proportions are shares of the group's valid responses, as the
// likelihood-ratio table counts them, so that they sum to 1 as the expected
// ones do.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "common/Sortit.h"
#include "common/stopsignal.h"
#include "common/textio.h"
#include "model/Evaluate.h"
#include "statistics/Diamml2.h"
#include "statistics/Gammp.h"

namespace vorm {

namespace {

constexpr const char* kDetail =
    "(' ITEM=',I3,' DELTA=',F8.4,' FITG=',I2,' GSIZE=',I4,/,"
    "' MEAN TH.=',F8.4,' MED. TH.=',F8.4,' CAT=',I2,' OBS. P=',F8.4,' EXP. P=',F8.4)";
constexpr const char* kItemLine =
    "(' ITEM# ',I3,' DELTA=',F8.3,' G**2=',F8.3,' WITH ',I3,' DF  P<',F6.4,' BASED ON ',I3,' FIT GROUPS')";
constexpr const char* kGlobalLine = "(' LIKELIHOOD RATIO GLOBAL CHI-SQUARE=',F8.3,' WITH ',I8,' DF','  P<',F7.5)";

// Below this a count is no count: the floor of an empty category, and the
// size below which a row does not enter G**2.
constexpr double kFloor = 1e-4;

bool answered(int x, int C) { return x >= 0 && x < C; }

// Mean and median ability of every group, from the abilities in ascending order.
void group_abilities(FitWork& w) {
    int first = 1;
    for (int g = 1; g <= w.NGROUP; ++g) {
        const int s = w.FGSIZE(g);
        w.FGFIRST(g) = first;
        double sum = 0.0;
        for (int p = first; p < first + s; ++p) sum += w.JSORT(p);
        w.FGMEAN(g) = s > 0 ? sum / s : 0.0;
        if (s == 0)
            w.FGMED(g) = 0.0;
        else if (s % 2 == 1)
            w.FGMED(g) = w.JSORT(first + s / 2);
        else
            w.FGMED(g) = (w.JSORT(first + s / 2 - 1) + w.JSORT(first + s / 2)) / 2.0;
        first += s;
    }
}

bool sparse(const LikelihoodRatioTable& t, int g, int C) {
    for (int k = 0; k < C; ++k)
        if (t.E(g, k) < 1.0) return true;
    return false;
}

void fold_row(LikelihoodRatioTable& t, int from, int to, int C) {
    t.n(to) += t.n(from);
    t.n(from) = 0.0;
    for (int k = 0; k < C; ++k) {
        t.O(to, k) += t.O(from, k);
        t.E(to, k) += t.E(from, k);
        t.O(from, k) = 0.0;
        t.E(from, k) = 0.0;
    }
}

// The abilities' standard deviation, by which the groups' mean abilities are
// scaled; 1 when there is no spread to scale by.
double ability_scale(const FittedModel& fm) {
    const Store& st = fm.st;
    const int N = fm.NSUBJ;
    if (N < 2) return 1.0;
    double sum = 0.0, squares = 0.0;
    for (int n = 1; n <= N; ++n) {
        sum += st.THETA(n);
        squares += st.THETA(n) * st.THETA(n);
    }
    const double mean = sum / N;
    const double sd = std::sqrt((squares - N * mean * mean) / (N - 1));
    return sd > 0.0 && std::isfinite(sd) ? sd : 1.0;
}

void item_table(const FittedModel& fm, const ProbabilityTable& PT, FitWork& w, int i) {
    const Store& st = fm.st;
    const int C = fm.item(i).K;
    LikelihoodRatioTable& t = w.LR;
    for (int g = 1; g <= w.NGROUP; ++g) {
        for (int k = 0; k < C; ++k) t.O(g, k) = 0.0;
        int missing = 0;
        for (int p = w.FGFIRST(g); p < w.FGFIRST(g) + w.FGSIZE(g); ++p) {
            const int x = st.RESP(w.JORD(p), i);
            if (answered(x, C))
                t.O(g, x) += 1.0;
            else
                ++missing;
        }
        t.n(g) = w.FGSIZE(g) - missing;
        for (int k = 0; k < C; ++k) {
            if (t.O(g, k) < kFloor) t.O(g, k) = kFloor;
            t.E(g, k) = t.n(g) * PT.P(g, i, k);
        }
    }
}

}  // namespace

void fit_group_sizes(int N, int G, Arr1<int, 1, MAXFITG>& FGSIZE) {
    for (int g = 1; g <= G; ++g) FGSIZE(g) = N / G + (g <= N % G ? 1 : 0);
}

void fold_sparse_rows(LikelihoodRatioTable& t, int G, int C) {
    if (G < 2) return;
    for (int g = 1; g <= G - 1; ++g)
        if (sparse(t, g, C)) fold_row(t, g, g + 1, C);
    for (int g = G; g >= 2; --g)
        if (sparse(t, g, C)) fold_row(t, g, g - 1, C);
}

double likelihood_ratio_chisq(const LikelihoodRatioTable& t, int G, int C, int& J) {
    J = 0;
    double sum = 0.0;
    for (int g = 1; g <= G; ++g) {
        if (t.n(g) < kFloor) continue;
        ++J;
        for (int k = 0; k < C; ++k) sum += t.O(g, k) * std::log(t.O(g, k) / t.E(g, k));
    }
    return 2.0 * sum;
}

void fit_groups(Io& io, const FittedModel& fm, int NFITG, FitWork& w) {
    const Store& st = fm.st;
    const int N = fm.NSUBJ;
    w.NGROUP = NFITG;  // 1 to MAXFITG: the job dialogue refuses any other count
    for (int n = 1; n <= N; ++n) {
        w.JORD(n) = n;
        w.JSORT(n) = st.THETA(n);
    }
    SORTIT(MAXSUBJ, w.JORD.data(), w.JSORT.data(), N);
    fit_group_sizes(N, w.NGROUP, w.FGSIZE);
    group_abilities(w);

    std::ostream& detail = io.units[Unit::FT18];
    ModelValues mv;
    for (int pos = 1; pos <= fm.NITEM; ++pos) {
        stop_point();
        const int i = w.ITORD(pos);
        const ItemParameters& item = fm.item(i);
        const int C = item.K;
        for (int g = 1; g <= w.NGROUP; ++g) {
            for (int k = 0; k < C; ++k) w.FGOBS(g, k) = w.FGEXP(g, k) = 0.0;
            const int s = w.FGSIZE(g);
            int valid = 0;
            for (int p = w.FGFIRST(g); p < w.FGFIRST(g) + s; ++p)
                if (answered(st.RESP(w.JORD(p), i), C)) ++valid;
            for (int p = w.FGFIRST(g); p < w.FGFIRST(g) + s; ++p) {
                const int n = w.JORD(p);
                const int x = st.RESP(n, i);
                if (answered(x, C)) w.FGOBS(g, x) += 1.0 / valid;
                evaluate_point(mv, fm.MODEL, PROBABILITIES, item, st.THETA(n));
                double sum = 0.0;
                for (int k = 0; k < C; ++k) {
                    w.FGEXP(g, k) += mv.PROB(k) / s;
                    sum += mv.PROB(k);
                }
                if (probability_sum_off(sum))
                    probability_problem(io.con, i, p, sum, " PROBLEM WITH PROBABILITY IN DIAGNOSE LOOP 4");
            }
        }
        for (int g = 1; g <= w.NGROUP; ++g)
            for (int k = 0; k < C; ++k)
                write_fixed(detail, kDetail,
                            {st.ITEMID(i), item.delta, g, w.FGSIZE(g), w.FGMEAN(g), w.FGMED(g), k + 1, w.FGOBS(g, k),
                             w.FGEXP(g, k)});
    }
    io.units.close(Unit::FT18);
}

void likelihood_ratio_chisquares(Io& io, const FittedModel& fm, FitWork& w, ProbabilityTable& PT) {
    std::ostream& rep = io.units[Unit::FT15];
    const double scale = ability_scale(fm);
    for (int g = 1; g <= w.NGROUP; ++g) w.XG(g) = w.FGMEAN(g) / scale;
    fill_probability_table(io.con, PT, fm, w.XG, w.NGROUP, " THE MODEL NUMBER IN DIAMML2 IS INCORRECT ");

    write_free(rep);
    write_free(rep);
    write_free(rep, {" *****  ITEM LEVEL LIKELIHOOD RATIO CHI-SQUARES   ", "*****"});
    write_free(rep);
    write_free(rep);
    double total = 0.0;
    float half_df = 0.0f;
    int df = 0;
    for (int pos = 1; pos <= fm.NITEM; ++pos) {
        const int i = w.ITORD(pos);
        const int C = fm.item(i).K;
        item_table(fm, PT, w, i);
        fold_sparse_rows(w.LR, w.NGROUP, C);
        LikelihoodRatio& r = w.ITEMLR(i);
        r.G2 = likelihood_ratio_chisq(w.LR, w.NGROUP, C, r.J);
        r.DF = (C - 1) * r.J;
        const float half = static_cast<float>(r.DF) / 2.0f;
        r.p = 1.0f - GAMMP(io.con, half, static_cast<float>(r.G2 / 2.0));
        write_free(rep);
        write_fixed(rep, kItemLine, {fm.st.ITEMID(i), fm.item(i).delta, r.G2, r.DF, r.p, r.J});
        total += r.G2;
        half_df += half;
        df += r.DF;
    }
    w.GLOBAL.G2 = total;
    w.GLOBAL.DF = df;
    w.GLOBAL.J = w.NGROUP;
    w.GLOBAL.p = 1.0f - GAMMP(io.con, half_df, static_cast<float>(total / 2.0));
    write_free(rep);
    write_fixed(rep, kGlobalLine, {total, df, w.GLOBAL.p});
    io.units.close(Unit::FT19);
}

}  // namespace vorm
