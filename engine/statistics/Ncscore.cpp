#include "statistics/Ncscore.h"

#include <cassert>
#include <cmath>

#include "model/Traits.h"
#include "numlib/Chidf.h"

namespace vorm {

void fill_score_probabilities(NumberCorrectWork& w, const ProbabilityTable& PT) {
    w.PSCORE.NQUAD = PT.NQUAD;
    for (int j = 1; j <= PT.NITEM; ++j) {
        const int C = PT.NCAT(j);
        w.PSCORE.NCAT(j) = C;
        const bool reversed = w.NCITEM(j, 3) == 1;
        for (int q = 1; q <= PT.NQUAD; ++q) {
            double* p = w.PSCORE.at(j, q);
            for (int k = 0; k < C; ++k) p[score_points(k, C, reversed)] = PT.P(q, j, k);
        }
    }
}

void add_item(const ScoreProbabilities& PS, const ScoreDistribution& src, int j, ScoreDistribution& dst) {
    assert(&src != &dst);
    const int C = PS.NCAT(j);
    const int NQUAD = PS.NQUAD;
    const int R = src.R;
    for (int q = 1; q <= NQUAD; ++q) {
        const double* __restrict__ in = src.S(q);
        double* __restrict__ out = dst.S(q);
        const double* p = PS.at(j, q);
        for (int s = 0; s < R + C; ++s) out[s] = 0.0;
        // Highest step first: each new score then receives its products in
        // increasing order of the source score, one contiguous pass a step.
        for (int c = C - 1; c >= 0; --c) {
            const double pc = p[c];
            double* __restrict__ o = out + c;
            for (int s = 0; s <= R; ++s) o[s] += in[s] * pc;
        }
    }
    dst.R = R + C - 1;
}

void score_distribution(const ScoreProbabilities& PS, const int* items, int m, ScoreDistribution& D,
                        ScoreDistribution& spare) {
    assert(&D != &spare);
    const int NQUAD = PS.NQUAD;
    if (m < 1) {
        for (int q = 1; q <= NQUAD; ++q) D.S(q)[0] = 1.0;
        D.R = 0;
        return;
    }
    // The first item's probabilities are its distribution (what adding it to
    // certainty of score 0 gives, exactly); the tables then alternate so that
    // the last item lands in D.
    ScoreDistribution* to = (m - 1) % 2 == 0 ? &D : &spare;
    const int first = items[0];
    const int C = PS.NCAT(first);
    for (int q = 1; q <= NQUAD; ++q)
        for (int c = 0; c < C; ++c) to->S(q)[c] = PS.at(first, q)[c];
    to->R = C - 1;
    for (int t = 1; t < m; ++t) {
        ScoreDistribution* from = to;
        to = from == &D ? &spare : &D;
        add_item(PS, *from, items[t], *to);
    }
}

void add_items(const ScoreProbabilities& PS, const ScoreDistribution& src, const int* items, int n,
               ScoreDistribution& dst, ScoreDistribution& spare) {
    assert(&src != &dst && &src != &spare && &dst != &spare);
    if (n < 1) {
        for (int q = 1; q <= PS.NQUAD; ++q)
            for (int s = 0; s <= src.R; ++s) dst.S(q)[s] = src.S(q)[s];
        dst.R = src.R;
        return;
    }
    const ScoreDistribution* from = &src;
    for (int t = 0; t < n; ++t) {
        ScoreDistribution* to = (n - 1 - t) % 2 == 0 ? &dst : &spare;
        add_item(PS, *from, items[t], *to);
        from = to;
    }
}

void weight_by_points(const ScoreDistribution& D, const QuadReals& WQUAD, int NQUAD, ScoreDistribution& WS) {
    for (int q = 1; q <= NQUAD; ++q) {
        const double wq = WQUAD(q);
        const double* d = D.S(q);
        double* ws = WS.S(q);
        for (int s = 0; s <= D.R; ++s) ws[s] = wq * d[s];
    }
    WS.R = D.R;
}

void marginal(const ScoreDistribution& WS, int NQUAD, Arr1<double, 0, MAXSCORE>& H) {
    double* h = H.data();
    for (int s = 0; s <= WS.R; ++s) h[s] = 0.0;
    for (int q = 1; q <= NQUAD; ++q) {
        const double* ws = WS.S(q);
        for (int s = 0; s <= WS.R; ++s) h[s] += ws[s];
    }
}

void expected_proportions(NumberCorrectWork& w, const ProbabilityTable& PT, const ScoreDistribution& WS,
                          const Arr1<double, 0, MAXSCORE>& H, int j, bool own) {
    const int C = PT.NCAT(j);
    const int NQUAD = PT.NQUAD;
    const bool reversed = w.NCITEM(j, 3) == 1;
    const int R = WS.R;
    double* sums = w.SUMS;
    for (int k = 0; k < C; ++k) {
        for (int s = 0; s <= R; ++s) sums[s] = 0.0;
        for (int q = 1; q <= NQUAD; ++q) {
            const double p = PT.P(q, j, k);
            const double* ws = WS.S(q);
            for (int s = 0; s <= R; ++s) sums[s] += ws[s] * p;
        }
        const int shift = own ? score_points(k, C, reversed) : 0;
        double* e = &w.NCEXP(shift, j, k);
        const double* h = &H(shift);
        for (int s = 0; s <= R; ++s) e[s] = h[s] != 0.0 ? sums[s] / h[s] : 0.0;
    }
}

namespace {

void add_row(NcRow* rows, int from, int to, int C) {
    NcRow& a = rows[to];
    NcRow& b = rows[from];
    a.N += b.N;
    for (int k = 0; k < C; ++k) {
        a.O[k] += b.O[k];
        a.E[k] += b.E[k];
    }
    b = NcRow{};
}

bool sparse(const NcRow& r, int C) {
    for (int k = 0; k < C; ++k)
        if (r.E[k] < 1.0) return true;
    return false;
}

}  // namespace

NcStatistic pool_and_sum(NcRow* rows, int top, int C, bool fixed) {
    if (fixed) {
        for (int s = 0; s <= C - 2 && s < top; ++s) add_row(rows, s, s + 1, C);
        for (int s = top; s >= top - C + 2 && s >= 1; --s) add_row(rows, s, s - 1, C);
    }
    for (int s = 0; s < top; ++s)
        if (sparse(rows[s], C)) add_row(rows, s, s + 1, C);
    for (int s = top; s >= 1; --s)
        if (sparse(rows[s], C)) add_row(rows, s, s - 1, C);
    NcStatistic st;
    for (int s = 0; s <= top; ++s) {
        const NcRow& r = rows[s];
        if (!(std::fabs(r.N) > 1e-8)) continue;
        ++st.G;
        for (int k = 0; k < C; ++k) {
            if (r.E[k] == 0.0) continue;
            const double d = r.O[k] - r.E[k];
            st.X2 += d * d / r.E[k];
        }
    }
    return st;
}

float nc_degrees_of_freedom(int MODEL, int G, int C, int NITEM) {
    const ModelTraits& m = model_traits(MODEL);
    const float own = m.discrimination ? 2.0f : 1.0f;  // location, and discrimination
    const float term = m.unit ? 1.0f : static_cast<float>(C - 1);
    const float params = m.common ? own + term / static_cast<float>(NITEM) : own + term;
    return static_cast<float>(G * (C - 1)) - params;
}

void nc_result(NcResultTable& T, int j, int in_score, int items_in_score, const NcStatistic& st, float DF) {
    const float P = DF <= 0.5f ? -1.0f : 1.0f - CHIDF(static_cast<float>(st.X2), DF);
    T(j, 1) = in_score;
    T(j, 2) = items_in_score;
    T(j, 3) = st.G;
    T(j, 4) = st.X2;
    T(j, 5) = DF;
    T(j, 6) = P;
}

void nc_none(NcResultTable& T, int j, int in_score, double DF) {
    T(j, 1) = in_score;
    T(j, 2) = 0.0;
    T(j, 3) = 0.0;
    T(j, 4) = 0.0;
    T(j, 5) = DF;
    T(j, 6) = -1.0;
}

std::optional<NcScoreSet> start_number_correct(std::ostream& con, const FittedModel& fm, const NcSample& sample,
                                               NumberCorrectWork& w, ProbabilityTable& PT, const NcCall& call) {
    const int NITEM = fm.NITEM;
    const NcItemTable& NCITEM = w.NCITEM;
    for (int j = 1; j <= NITEM; ++j) nc_none(call.T, j, NCITEM(j, 1), 0.0);
    if (call.NNC == 0 || sample.NSUBJ == 0) return std::nullopt;
    NcScoreSet set;
    for (int j = 1; j <= NITEM; ++j)
        if (NCITEM(j, 1) == 1) {
            set.items[set.INC++] = j;
            set.SMAX += fm.item(j).K - 1;
        }
    set.studied = call.NNC < set.INC ? call.NNC : set.INC;

    fill_probability_table(con, PT, fm, sample.XQUAD, sample.NQUAD, " THE MODEL NUMBER IN OLTHX2 IS INCORRECT ");
    fill_score_probabilities(w, PT);
    for (int j = 1; j <= NITEM; ++j)
        for (int k = 0; k < fm.item(j).K; ++k) {
            double* o = &w.NCOBS(0, j, k);
            double* e = &w.NCEXP(0, j, k);
            for (int s = 0; s <= set.SMAX; ++s) o[s] = e[s] = 0.0;
        }

    score_distribution(w.PSCORE, set.items, set.INC, w.SCDIST, w.OUTSIDE[NC_LEVELS]);
    weight_by_points(w.SCDIST, sample.WQUAD, sample.NQUAD, w.SCDIST);
    marginal(w.SCDIST, sample.NQUAD, w.SCMARG);

    for (int s = 0; s <= set.SMAX; ++s) w.NSCORE(s) = 0;
    for (int n = 1; n <= sample.NSUBJ; ++n) {
        int score = 0;
        for (int j = 1; j <= NITEM && score >= 0; ++j) {
            const int x = sample.RESP(n, j);
            const int C = fm.item(j).K;
            if (x < 0 || x >= C)
                score = -1;
            else if (NCITEM(j, 1) == 1)
                score += score_points(x, C, NCITEM(j, 3) == 1);
        }
        w.SCORE(n) = score;
        if (score >= 0) ++w.NSCORE(score);
    }
    if (set.INC == 1) nc_none(call.T, set.items[0], 1, -1.0);
    return set;
}

NcStatistic item_statistic(NumberCorrectWork& w, const Arr1<int, 0, MAXSCORE>& N, int j, int C, int top, bool own) {
    for (int s = 0; s <= top; ++s) {
        NcRow& r = w.NCSTAB[s];
        r.N = N(s);
        for (int k = 0; k < C; ++k) {
            r.O[k] = w.NCOBS(s, j, k);
            r.E[k] = w.NCEXP(s, j, k) * N(s);
        }
    }
    return pool_and_sum(w.NCSTAB, top, C, own);
}

void observe_by_score(NumberCorrectWork& w, const NcSample& sample, int j) {
    for (int n = 1; n <= sample.NSUBJ; ++n)
        if (w.SCORE(n) >= 0) w.NCOBS(w.SCORE(n), j, sample.RESP(n, j)) += 1.0;
}

void observe_by_rest_score(NumberCorrectWork& w, const NcSample& sample, int i, int C, int top) {
    const bool reversed = w.NCITEM(i, 3) == 1;
    for (int s = 0; s <= top; ++s) w.NREST(s) = 0;
    for (int n = 1; n <= sample.NSUBJ; ++n) {
        if (w.SCORE(n) < 0) continue;
        const int x = sample.RESP(n, i);
        const int rest = w.SCORE(n) - score_points(x, C, reversed);
        w.NCOBS(rest, i, x) += 1.0;
        ++w.NREST(rest);
    }
}

NcStatistic outside_item(NumberCorrectWork& w, const NcSample& sample, const ProbabilityTable& PT,
                         const NcScoreSet& set, int j) {
    expected_proportions(w, PT, w.SCDIST, w.SCMARG, j, false);
    observe_by_score(w, sample, j);
    return item_statistic(w, w.NSCORE, j, PT.NCAT(j), set.SMAX, false);
}

void leave_working_column(NcItemTable& NCITEM, int NITEM, const NcScoreSet& set) {
    for (int j = 1; j <= NITEM; ++j) NCITEM(j, 2) = NCITEM(j, 1);
    if (set.studied > 0) NCITEM(set.items[set.studied - 1], 2) = 0;
}

}  // namespace vorm
