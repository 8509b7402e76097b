#include "statistics/Ncscore.h"

#include <cassert>
#include <cmath>

#include "model/Traits.h"
#include "numlib/Chidf.h"

namespace vorm {

void fill_score_probabilities(NumberCorrectWork& w, const ProbabilityTable& PT, const NcItemTable& NCITEM, int NITEM) {
    for (int j = 1; j <= NITEM; ++j) {
        const int C = PT.NCAT(j);
        const bool reversed = NCITEM(j, 3) == 1;
        for (int q = 1; q <= PT.NQUAD; ++q) {
            double* p = w.PSCORE.at(j, q);
            for (int k = 0; k < C; ++k) p[score_points(k, C, reversed)] = PT.P(q, j, k);
        }
    }
}

void add_item(const ScoreProbabilities& PS, const ScoreDistribution& src, int j, int C, int NQUAD,
              ScoreDistribution& dst) {
    assert(&src != &dst);
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

void score_distribution(const ScoreProbabilities& PS, const int* items, int m, const ItemInts& NCAT, int NQUAD,
                        ScoreDistribution& D, ScoreDistribution& spare) {
    assert(&D != &spare);
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
    for (int q = 1; q <= NQUAD; ++q)
        for (int c = 0; c < NCAT(first); ++c) to->S(q)[c] = PS.at(first, q)[c];
    to->R = NCAT(first) - 1;
    for (int t = 1; t < m; ++t) {
        ScoreDistribution* from = to;
        to = from == &D ? &spare : &D;
        add_item(PS, *from, items[t], NCAT(items[t]), NQUAD, *to);
    }
}

void add_items(const ScoreProbabilities& PS, const ScoreDistribution& src, const int* items, int lo, int hi,
               const ItemInts& NCAT, int NQUAD, ScoreDistribution& dst, ScoreDistribution& spare) {
    assert(&src != &dst && &src != &spare && &dst != &spare);
    const int n = hi - lo;
    if (n < 1) {
        for (int q = 1; q <= NQUAD; ++q)
            for (int s = 0; s <= src.R; ++s) dst.S(q)[s] = src.S(q)[s];
        dst.R = src.R;
        return;
    }
    const ScoreDistribution* from = &src;
    for (int t = 0; t < n; ++t) {
        ScoreDistribution* to = (n - 1 - t) % 2 == 0 ? &dst : &spare;
        const int j = items[lo + t];
        add_item(PS, *from, j, NCAT(j), NQUAD, *to);
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
                          const Arr1<double, 0, MAXSCORE>& H, int j, bool own, bool reversed, int NQUAD) {
    const int C = PT.NCAT(j);
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

bool start_number_correct(std::ostream& con, const Store& st, ProbabilityTable& PT, NumberCorrectWork& w,
                          const QuadReals& WQUAD, int MODEL, const ItemInts& NCAT, const NcItemTable& NCITEM, int NITEM,
                          int NNC, int NQUAD, int NSUBJ, NcResultTable& T, double UNIT, const CatReals& TAUC,
                          const QuadReals& XQUAD, NcScoreSet& set) {
    for (int j = 1; j <= NITEM; ++j) nc_none(T, j, NCITEM(j, 1), 0.0);
    if (NNC == 0 || NSUBJ == 0) return false;
    set = NcScoreSet{};
    for (int j = 1; j <= NITEM; ++j)
        if (NCITEM(j, 1) == 1) {
            set.items[set.INC++] = j;
            set.SMAX += NCAT(j) - 1;
        }
    set.studied = NNC < set.INC ? NNC : set.INC;

    fill_probability_table(con, PT, model_parameters(st, MODEL, NCAT, NITEM, UNIT, TAUC), XQUAD, NQUAD,
                           " THE MODEL NUMBER IN OLTHX2 IS INCORRECT ");
    fill_score_probabilities(w, PT, NCITEM, NITEM);
    for (int j = 1; j <= NITEM; ++j)
        for (int k = 0; k < NCAT(j); ++k) {
            double* o = &w.NCOBS(0, j, k);
            double* e = &w.NCEXP(0, j, k);
            for (int s = 0; s <= set.SMAX; ++s) o[s] = e[s] = 0.0;
        }

    score_distribution(w.PSCORE, set.items, set.INC, NCAT, NQUAD, w.SCDIST, w.OUTSIDE[NC_LEVELS]);
    weight_by_points(w.SCDIST, WQUAD, NQUAD, w.SCDIST);
    marginal(w.SCDIST, NQUAD, w.SCMARG);

    for (int s = 0; s <= set.SMAX; ++s) w.NSCORE(s) = 0;
    for (int n = 1; n <= NSUBJ; ++n) {
        int score = 0;
        for (int j = 1; j <= NITEM && score >= 0; ++j) {
            const int x = st.RESP(n, j);
            if (x < 0 || x >= NCAT(j))
                score = -1;
            else if (NCITEM(j, 1) == 1)
                score += score_points(x, NCAT(j), NCITEM(j, 3) == 1);
        }
        w.SCORE(n) = score;
        if (score >= 0) ++w.NSCORE(score);
    }
    if (set.INC == 1) nc_none(T, set.items[0], 1, -1.0);
    return true;
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

void observe_by_score(NumberCorrectWork& w, const Store& st, int j, int NSUBJ) {
    for (int n = 1; n <= NSUBJ; ++n)
        if (w.SCORE(n) >= 0) w.NCOBS(w.SCORE(n), j, st.RESP(n, j)) += 1.0;
}

void observe_by_rest_score(NumberCorrectWork& w, const Store& st, int i, int C, bool reversed, int top, int NSUBJ) {
    for (int s = 0; s <= top; ++s) w.NREST(s) = 0;
    for (int n = 1; n <= NSUBJ; ++n) {
        if (w.SCORE(n) < 0) continue;
        const int x = st.RESP(n, i);
        const int rest = w.SCORE(n) - score_points(x, C, reversed);
        w.NCOBS(rest, i, x) += 1.0;
        ++w.NREST(rest);
    }
}

void outside_items(NumberCorrectWork& w, const Store& st, const ProbabilityTable& PT, const NcScoreSet& set,
                   const NcItemTable& NCITEM, NcResultTable& T, int MODEL, int NITEM, int NQUAD, int NSUBJ,
                   int items_in_score) {
    for (int j = 1; j <= NITEM; ++j) {
        if (NCITEM(j, 1) == 1) continue;
        const int C = PT.NCAT(j);
        expected_proportions(w, PT, w.SCDIST, w.SCMARG, j, false, false, NQUAD);
        observe_by_score(w, st, j, NSUBJ);
        const NcStatistic stat = item_statistic(w, w.NSCORE, j, C, set.SMAX, false);
        nc_result(T, j, 0, items_in_score, stat, nc_degrees_of_freedom(MODEL, stat.G, C, NITEM));
    }
}

void leave_working_column(NcItemTable& NCITEM, int NITEM, const NcScoreSet& set) {
    for (int j = 1; j <= NITEM; ++j) NCITEM(j, 2) = NCITEM(j, 1);
    if (set.studied > 0) NCITEM(set.items[set.studied - 1], 2) = 0;
}

}  // namespace vorm
