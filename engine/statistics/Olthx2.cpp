#include "statistics/Olthx2.h"

namespace vorm {

void OLTHX2(std::ostream& con, Store& st, ProbabilityTable& PT, NumberCorrectWork& w, const QuadReals& WQUAD, int MODEL,
            const ItemInts& NCAT, NcItemTable& NCITEM, int NITEM, int NNC, int NQUAD, int NSUBJ, NcResultTable& T,
            double UNIT, const CatReals& TAUC, const QuadReals& XQUAD) {
    NcScoreSet set;
    if (!start_number_correct(con, st, PT, w, WQUAD, MODEL, NCAT, NCITEM, NITEM, NNC, NQUAD, NSUBJ, T, UNIT, TAUC,
                              XQUAD, set))
        return;
    if (set.INC >= 2) {
        // A studied item's category k moves its rest score s to s + k*: the
        // expected proportions at the full score come from the rest score's
        // distribution.
        ScoreDistribution& weighted = w.OUTSIDE[NC_LEVELS];
        for_each_rest_score(w, set.items, set.INC, set.studied, NCAT, NQUAD, [&](int p, const ScoreDistribution& D) {
            const int i = set.items[p];
            weight_by_points(D, WQUAD, NQUAD, weighted);
            expected_proportions(w, PT, weighted, w.SCMARG, i, true, NCITEM(i, 3) == 1, NQUAD);
            observe_by_score(w, st, i, NSUBJ);
            const NcStatistic stat = item_statistic(w, w.NSCORE, i, NCAT(i), set.SMAX, true);
            nc_result(T, i, 1, set.INC, stat, nc_degrees_of_freedom(MODEL, stat.G, NCAT(i), NITEM));
        });
        leave_working_column(NCITEM, NITEM, set);
    }
    outside_items(w, st, PT, set, NCITEM, T, MODEL, NITEM, NQUAD, NSUBJ, set.INC);
}

}  // namespace vorm
