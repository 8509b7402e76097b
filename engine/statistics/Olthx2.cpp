#include "statistics/Olthx2.h"

#include "common/stopsignal.h"

namespace vorm {

namespace {

// The twins' one core: `rest` leaves a studied item's own response out of the
// score it is conditioned on.
void conditioned_chisquares(bool rest, std::ostream& con, const Store& st, ProbabilityTable& PT, NumberCorrectWork& w,
                            const QuadReals& WQUAD, int MODEL, const ItemInts& NCAT, NcItemTable& NCITEM, int NITEM,
                            int NNC, int NQUAD, int NSUBJ, NcResultTable& T, double UNIT, const CatReals& TAUC,
                            const QuadReals& XQUAD) {
    NcScoreSet set;
    if (!start_number_correct(con, st, PT, w, WQUAD, MODEL, NCAT, NCITEM, NITEM, NNC, NQUAD, NSUBJ, T, UNIT, TAUC,
                              XQUAD, set))
        return;
    const int items_in_score = rest ? set.INC - 1 : set.INC;
    if (set.INC >= 2) {
        ScoreDistribution& weighted = w.OUTSIDE[NC_LEVELS];
        for_each_rest_score(w, set.items, set.INC, set.studied, NCAT, NQUAD, [&](int p, const ScoreDistribution& D) {
            stop_point();
            const int i = set.items[p];
            const bool reversed = NCITEM(i, 3) == 1;
            weight_by_points(D, WQUAD, NQUAD, weighted);
            NcStatistic stat;
            if (rest) {
                // The item's own response does not enter its rest score, so
                // every category can occur at every rest score: no fixed pooling.
                marginal(weighted, NQUAD, w.HREST);
                expected_proportions(w, PT, weighted, w.HREST, i, false, reversed, NQUAD);
                observe_by_rest_score(w, st, i, NCAT(i), reversed, D.R, NSUBJ);
                stat = item_statistic(w, w.NREST, i, NCAT(i), D.R, false);
            } else {
                // Category k moves the rest score s to the full score s + k*.
                expected_proportions(w, PT, weighted, w.SCMARG, i, true, reversed, NQUAD);
                observe_by_score(w, st, i, NSUBJ);
                stat = item_statistic(w, w.NSCORE, i, NCAT(i), set.SMAX, true);
            }
            nc_result(T, i, 1, items_in_score, stat, nc_degrees_of_freedom(MODEL, stat.G, NCAT(i), NITEM));
        });
        leave_working_column(NCITEM, NITEM, set);
    }
    outside_items(w, st, PT, set, NCITEM, T, MODEL, NITEM, NQUAD, NSUBJ, items_in_score);
}

}  // namespace

void OLTHX2(std::ostream& con, const Store& st, ProbabilityTable& PT, NumberCorrectWork& w, const QuadReals& WQUAD,
            int MODEL, const ItemInts& NCAT, NcItemTable& NCITEM, int NITEM, int NNC, int NQUAD, int NSUBJ,
            NcResultTable& T, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    conditioned_chisquares(false, con, st, PT, w, WQUAD, MODEL, NCAT, NCITEM, NITEM, NNC, NQUAD, NSUBJ, T, UNIT, TAUC,
                           XQUAD);
}

void OLTHX2B(std::ostream& con, const Store& st, ProbabilityTable& PT, NumberCorrectWork& w, const QuadReals& WQUAD,
             int MODEL, const ItemInts& NCAT, NcItemTable& NCITEM, int NITEM, int NNC, int NQUAD, int NSUBJ,
             NcResultTable& T, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    conditioned_chisquares(true, con, st, PT, w, WQUAD, MODEL, NCAT, NCITEM, NITEM, NNC, NQUAD, NSUBJ, T, UNIT, TAUC,
                           XQUAD);
}

}  // namespace vorm
