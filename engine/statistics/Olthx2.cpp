#include "statistics/Olthx2.h"

#include "common/stopsignal.h"

namespace vorm {

namespace {

// The twins' one core: `rest` leaves a studied item's own response out of the
// score it is conditioned on.
template <bool rest>
void conditioned_chisquares(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w,
                            ProbabilityTable& PT, const NcCall& call) {
    const std::optional<NcScoreSet> started = start_number_correct(con, fm, sample, w, PT, call);
    if (!started) return;
    const NcScoreSet& set = *started;
    const int items_in_score = rest ? set.INC - 1 : set.INC;
    const auto result = [&](int j, int in_score, const NcStatistic& stat) {
        const int C = fm.item(j).K;
        nc_result(call.T, j, in_score, items_in_score, stat, nc_degrees_of_freedom(fm.MODEL, stat.G, C, fm.NITEM));
    };
    if (set.INC >= 2) {
        ScoreDistribution& weighted = w.OUTSIDE[NC_LEVELS];
        for_each_rest_score(w, set.items, set.INC, set.studied, [&](int p, const ScoreDistribution& D) {
            stop_point();
            const int i = set.items[p];
            const int C = fm.item(i).K;
            weight_by_points(D, sample.WQUAD, sample.NQUAD, weighted);
            if constexpr (rest) {
                // The item's own response does not enter its rest score, so
                // every category can occur at every rest score: no fixed pooling.
                marginal(weighted, sample.NQUAD, w.HREST);
                expected_proportions(w, PT, weighted, w.HREST, i, false);
                observe_by_rest_score(w, sample, i, C, D.R);
                result(i, 1, item_statistic(w, w.NREST, i, C, D.R, false));
            } else {
                // Category k moves the rest score s to the full score s + k*.
                expected_proportions(w, PT, weighted, w.SCMARG, i, true);
                observe_by_score(w, sample, i);
                result(i, 1, item_statistic(w, w.NSCORE, i, C, set.SMAX, true));
            }
        });
        leave_working_column(w.NCITEM, fm.NITEM, set);
    }
    for (int j = 1; j <= fm.NITEM; ++j)
        if (w.NCITEM(j, 1) != 1) result(j, 0, outside_item(w, sample, PT, set, j));
}

}  // namespace

void OLTHX2(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w,
            ProbabilityTable& PT, NcCall call) {
    conditioned_chisquares<false>(con, fm, sample, w, PT, call);
}

void OLTHX2B(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w,
             ProbabilityTable& PT, NcCall call) {
    conditioned_chisquares<true>(con, fm, sample, w, PT, call);
}

}  // namespace vorm
