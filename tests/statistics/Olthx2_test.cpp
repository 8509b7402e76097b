#include "statistics/Olthx2.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <utility>
#include <vector>

#include "../estimation/estimation_fixture.h"
#include "model/Getqua.h"
#include "test_support.h"

namespace vorm::test {
namespace {

// A job whose store holds the simulation's true parameters, a fresh grid
// and the items in the score as `in_score` and `reversed` say.
std::unique_ptr<EstimationJob> nc_job(int model, const std::vector<int>& cats, int nsubj, int nquad,
                                      const std::vector<int>& in_score, const std::vector<int>& reversed) {
    auto e = simulated_job(model, cats, nsubj, 40 + static_cast<std::uint64_t>(model), nquad);
    true_parameters(*e);
    double mean = 0.0, sd = 0.0;
    GETQUA(e->st->XQUAD, e->st->WQUAD, mean, nquad, sd);
    NcItemTable& nc = e->ws->fit.nc.NCITEM;
    for (int j = 1; j <= e->job->NITEM; ++j) {
        nc(j, 1) = nc(j, 2) = in_score[static_cast<std::size_t>(j - 1)];
        nc(j, 3) = reversed[static_cast<std::size_t>(j - 1)];
    }
    return e;
}

int items_in_score(const EstimationJob& e) {
    int n = 0;
    for (int j = 1; j <= e.job->NITEM; ++j) n += e.ws->fit.nc.NCITEM(j, 1);
    return n;
}

// Every respondent of the store, over the store's grid.
void run(EstimationJob& e, bool rest, NcResultTable& T, int NNC) {
    const JobSettings& j = *e.job;
    const Store& s = *e.st;
    const NcSample sample{s.RESP, j.NSUBJ, false, s.XQUAD, s.WQUAD, j.NQUAD};
    (rest ? OLTHX2B : OLTHX2)(e.console, fitted_model(j, s), sample, e.ws->fit.nc, e.ws->ptab, {NNC, T});
}

// One score group of an item's table: respondents, observed and expected
// counts by category.
struct Group {
    double N = 0.0;
    std::vector<double> O, E;
};

// The section's statistic of one item from its table over scores 0..top:
// with the item's own response in the score (`fixed`) scores 0..C-2 join
// score C-1 and the top C-1 scores join the one below them; then a group with
// an expected count below 1 joins the next one up (scores 0..top-1 in turn),
// and one still sparse the next one down (top..1); G counts the groups left
// with respondents, X2 sums (O - E)^2 / E over them.
std::pair<int, double> pooled_statistic(std::vector<Group> t, int C, bool fixed) {
    const int top = static_cast<int>(t.size()) - 1;
    const auto at = [&t](int s) -> Group& { return t[static_cast<std::size_t>(s)]; };
    const auto join = [&](int from, int to) {
        at(to).N += at(from).N;
        for (std::size_t k = 0; k < static_cast<std::size_t>(C); ++k) {
            at(to).O[k] += at(from).O[k];
            at(to).E[k] += at(from).E[k];
        }
        at(from) = Group{0.0, std::vector<double>(10), std::vector<double>(10)};
    };
    const auto sparse = [&](int s) {
        for (std::size_t k = 0; k < static_cast<std::size_t>(C); ++k)
            if (at(s).E[k] < 1.0) return true;
        return false;
    };
    if (fixed) {
        for (int s = 0; s < C - 1; ++s) join(s, s + 1);
        for (int s = top; s > top - C + 1; --s) join(s, s - 1);
    }
    for (int s = 0; s < top; ++s)
        if (sparse(s)) join(s, s + 1);
    for (int s = top; s > 0; --s)
        if (sparse(s)) join(s, s - 1);
    int G = 0;
    double X2 = 0.0;
    for (const Group& g : t) {
        if (g.N <= 1e-8) continue;
        ++G;
        for (std::size_t k = 0; k < static_cast<std::size_t>(C); ++k)
            X2 += (g.O[k] - g.E[k]) * (g.O[k] - g.E[k]) / g.E[k];
    }
    return {G, X2};
}

// G (C - 1) less the item's parameters; a parameter that the model shares
// among the items counts 1/NITEM of one, NITEM being every item analysed.
double degrees_of_freedom(int model, int G, int C, int NITEM) {
    const double n = NITEM;
    const double params[] = {1 + 1 / n, 2, 1 + (C - 1) / n, static_cast<double>(C),
                             2 + 1 / n, 3, 2 + (C - 1) / n, C + 1.0};
    return G * (C - 1) - params[model - 1];
}

// The expected proportion of each category of each item given the score it
// is conditioned on, summed over every response pattern of all the items:
// P(x_j = k, score = s) / P(score = s), the score leaving out item j's own
// response when `rest` and the item is in the score; the observed counts by
// that score; and from these every item's groups, chi-square, degrees of
// freedom and probability.
void expect_tables_of_every_pattern(const EstimationJob& e, bool rest, const NcResultTable& T) {
    const NumberCorrectWork& w = e.ws->fit.nc;
    const ProbabilityTable& PT = e.ws->ptab;
    const int n = e.job->NITEM;
    using Table = std::vector<std::vector<double>>;
    Table joint(static_cast<std::size_t>(n * (MAXSCORE + 1)), std::vector<double>(10)), observed = joint;
    std::vector<int> x(static_cast<std::size_t>(n), 0);
    const auto score_of = [&](int j) {
        const int r = x[static_cast<std::size_t>(j - 1)];
        return w.NCITEM(j, 1) == 0 ? 0 : w.NCITEM(j, 3) == 1 ? e.job->NCAT(j) - 1 - r : r;
    };
    const auto add_pattern = [&](Table& t, double weight) {
        int s = 0;
        for (int j = 1; j <= n; ++j) s += score_of(j);
        for (int j = 1; j <= n; ++j)
            t[static_cast<std::size_t>((j - 1) * (MAXSCORE + 1) + s - (rest ? score_of(j) : 0))]
             [static_cast<std::size_t>(x[static_cast<std::size_t>(j - 1)])] += weight;
    };
    for (std::size_t a = 0; a < x.size();) {
        double p = 0.0;
        for (int q = 1; q <= e.job->NQUAD; ++q) {
            double pq = e.st->WQUAD(q);
            for (int j = 1; j <= n; ++j) pq *= PT.P(q, j, x[static_cast<std::size_t>(j - 1)]);
            p += pq;
        }
        add_pattern(joint, p);
        for (a = 0; a < x.size() && ++x[a] == e.job->NCAT(static_cast<int>(a) + 1); ++a) x[a] = 0;
    }
    for (int r = 1; r <= e.job->NSUBJ; ++r) {
        for (int j = 1; j <= n; ++j) x[static_cast<std::size_t>(j - 1)] = e.st->RESP(r, j);
        add_pattern(observed, 1.0);
    }
    int smax = 0;
    for (int j = 1; j <= n; ++j) smax += w.NCITEM(j, 1) * (e.job->NCAT(j) - 1);
    for (int j = 1; j <= n; ++j) {
        const int C = e.job->NCAT(j);
        const bool own = w.NCITEM(j, 1) == 1;
        const int top = rest && own ? smax - (C - 1) : smax;
        std::vector<Group> groups;
        for (int s = 0; s <= MAXSCORE; ++s) {
            const std::size_t at = static_cast<std::size_t>((j - 1) * (MAXSCORE + 1) + s);
            double total = 0.0, people = 0.0;
            for (double v : joint[at]) total += v;
            for (double v : observed[at]) people += v;
            Group g{people, observed[at], std::vector<double>(10)};
            if (total == 0.0) continue;
            for (int k = 0; k < C; ++k) {
                const double proportion = joint[at][static_cast<std::size_t>(k)] / total;
                EXPECT_NEAR_REL(w.NCEXP(s, j, k), proportion, 1e-12)
                    << (rest ? "rest" : "full") << " score " << s << " item " << j << " category " << k;
                EXPECT_EQ(w.NCOBS(s, j, k), observed[at][static_cast<std::size_t>(k)]);
                g.E[static_cast<std::size_t>(k)] = proportion * people;
            }
            if (s <= top) groups.push_back(g);
        }
        ASSERT_EQ(static_cast<int>(groups.size()), top + 1) << "every score up to the top can be reached";
        const auto [G, X2] = pooled_statistic(groups, C, own && !rest);
        const double DF = degrees_of_freedom(e.job->MODEL, G, C, n);
        EXPECT_EQ(T(j, 3), G) << "item " << j;
        EXPECT_NEAR_REL(T(j, 4), X2, 1e-9) << "item " << j;
        EXPECT_NEAR(T(j, 5), DF, 1e-6) << "item " << j;
        EXPECT_NEAR(T(j, 6), DF <= 0.5 ? -1.0 : boost::math::gamma_q(DF / 2, X2 / 2), 2e-6) << "item " << j;
    }
}

TEST(Olthx2, ExpectedAndObservedMatchEveryResponsePattern) {
    struct Case {
        int model;
        std::vector<int> in_score, reversed;
    } cases[] = {{2, {1, 1, 1, 1}, {0, 1, 0, 0}}, {7, {1, 0, 1, 0}, {0, 0, 1, 0}}, {4, {0, 1, 1, 1}, {0, 1, 1, 0}}};
    for (const Case& c : cases) {
        const std::vector<int> cats = c.model == 7 ? std::vector<int>{3, 3, 3, 3} : std::vector<int>{2, 3, 4, 3};
        auto e = nc_job(c.model, cats, 80, 9, c.in_score, c.reversed);
        const int inc = items_in_score(*e);
        for (bool rest : {false, true}) {
            NcResultTable T;
            run(*e, rest, T, inc);
            expect_tables_of_every_pattern(*e, rest, T);
            for (int j = 1; j <= 4; ++j) {
                EXPECT_EQ(T(j, 1), c.in_score[static_cast<std::size_t>(j - 1)]);
                EXPECT_EQ(T(j, 2), rest ? inc - 1 : inc);
            }
        }
    }
}

TEST(Olthx2, RowsWithoutAStatisticAndNoNaN) {
    struct Case {
        const char* what;
        std::vector<int> cats, in_score;
        int nsubj;
        bool extreme;              // thresholds that make a reached score's probability underflow
        std::vector<double> rows;  // expected row of item 1 from both routines; empty: only finite
    } cases[] = {
        {"no respondent", {3, 3, 3}, {1, 1, 1}, 0, false, {1, 0, 0, 0, 0, -1}},
        {"one item in the score", {3, 3, 3}, {1, 0, 0}, 50, false, {1, 0, 0, 0, -1, -1}},
        {"a reached score whose probability underflows", {2, 2, 3}, {1, 1, 0}, 30, true, {}},
    };
    for (const Case& c : cases) {
        auto e = nc_job(4, c.cats, c.nsubj, 11, c.in_score, {0, 0, 0});
        if (c.extreme) {
            for (int j = 1; j <= 2; ++j) {
                e->st->TAU(j, 1) = 700.0;
                e->st->RESP(1, j) = 1;
            }
        }
        for (bool rest : {false, true}) {
            NcResultTable T;
            run(*e, rest, T, items_in_score(*e));
            for (int j = 1; j <= 3; ++j)
                for (int col = 1; col <= 6; ++col) EXPECT_TRUE(std::isfinite(T(j, col))) << c.what;
            for (std::size_t col = 0; col < c.rows.size(); ++col) EXPECT_EQ(T(1, col + 1), c.rows[col]) << c.what;
        }
    }
    // The score that cannot be computed: every row says so.
    auto e = nc_job(4, {3, 3, 3}, 50, 11, {1, 0, 1}, {0, 0, 0});
    NcResultTable T;
    run(*e, false, T, 0);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(T(j, 1), j == 2 ? 0.0 : 1.0);
        for (int col = 2; col <= 5; ++col) EXPECT_EQ(T(j, col), 0.0);
        EXPECT_EQ(T(j, 6), -1.0);
    }
}

}  // namespace
}  // namespace vorm::test
