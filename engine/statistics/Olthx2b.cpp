#include "statistics/Olthx2.h"

namespace vorm {

void OLTHX2B(std::ostream& con, Store& st, ProbabilityTable& PT, NumberCorrectWork& w, const QuadReals& WQUAD,
             int MODEL, const ItemInts& NCAT, NcItemTable& NCITEM, int NITEM, int NNC, int NQUAD, int NSUBJ,
             NcResultTable& T, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    NcScoreSet set;
    if (!start_number_correct(con, st, PT, w, WQUAD, MODEL, NCAT, NCITEM, NITEM, NNC, NQUAD, NSUBJ, T, UNIT, TAUC,
                              XQUAD, set))
        return;
    if (set.INC >= 2) {
        // The studied item's own response does not enter its rest score, so
        // every category can occur at every rest score: no fixed pooling.
        ScoreDistribution& weighted = w.OUTSIDE[NC_LEVELS];
        for_each_rest_score(w, set.items, set.INC, set.studied, NCAT, NQUAD, [&](int p, const ScoreDistribution& D) {
            const int i = set.items[p];
            const bool reversed = NCITEM(i, 3) == 1;
            weight_by_points(D, WQUAD, NQUAD, weighted);
            marginal(weighted, NQUAD, w.HREST);
            expected_proportions(w, PT, weighted, w.HREST, i, false, reversed, NQUAD);
            observe_by_rest_score(w, st, i, NCAT(i), reversed, D.R, NSUBJ);
            const NcStatistic stat = item_statistic(w, w.NREST, i, NCAT(i), D.R, false);
            nc_result(T, i, 1, set.INC - 1, stat, nc_degrees_of_freedom(MODEL, stat.G, NCAT(i), NITEM));
        });
        leave_working_column(NCITEM, NITEM, set);
    }
    outside_items(w, st, PT, set, NCITEM, T, MODEL, NITEM, NQUAD, NSUBJ, set.INC - 1);
}

}  // namespace vorm
