#include "statistics/Itcorr.h"

#include <memory>
#include <sstream>
#include <vector>

#include "model/Getqua.h"
#include "test_support.h"

namespace vorm::test {
namespace {

TEST(Itcorr, PercentilesInterpolateBetweenPointsAndStopAtTheEnds) {
    struct Case {
        const char* what;
        std::vector<double> x, dens;
        double p10, p90;
    } cases[] = {
        {"brackets inside the grid", {-2, -1, 0, 1, 2}, {0.05, 0.1, 0.2, 0.3, 0.35}, -1.5, 1 + 0.25 / 0.35},
        {"first point above 10 %", {-4, 0, 4}, {0.3, 0.4, 0.3}, -4, 0 + 0.2 / 0.3 * 4},
        {"two points", {-4, 4}, {0.5, 0.5}, -4, -4 + 0.4 / 0.5 * 8},
        {"one point", {0}, {1}, 0, 0},
    };
    for (const Case& c : cases) {
        QuadReals x, dens;
        const int n = static_cast<int>(c.x.size());
        for (int q = 1; q <= n; ++q) {
            x(q) = c.x[static_cast<std::size_t>(q - 1)];
            dens(q) = c.dens[static_cast<std::size_t>(q - 1)];
        }
        EXPECT_NEAR(latent_percentile(0.1, dens, x, n), c.p10, 1e-12) << c.what;
        EXPECT_NEAR(latent_percentile(0.9, dens, x, n), c.p90, 1e-12) << c.what;
    }
}

// Respondents spread over the scale answer 1 on an item within 1.2 of their
// location, 0 otherwise (2 categories); `copy` gives an item the responses of
// another instead.
struct Selection {
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<NumberCorrectWork> w = std::make_unique<NumberCorrectWork>();
    ItemInts NCAT;
    std::ostringstream con;
    int nitem = 0, nsubj = 200, nquad = 31;

    Selection(const std::vector<double>& deltas, const std::vector<int>& copy = {}) {
        nitem = static_cast<int>(deltas.size());
        double mean = 0, sd = 0;
        GETQUA(st->XQUAD, st->DENS, mean, nquad, sd);
        for (int i = 1; i <= nitem; ++i) {
            NCAT(i) = 2;
            st->DELTA(i) = deltas[static_cast<std::size_t>(i - 1)];
            for (int n = 1; n <= nsubj; ++n) {
                const double theta = -3.0 + 6.0 * (n - 0.5) / nsubj;
                st->RESP(n, i) = std::abs(theta - st->DELTA(i)) < 1.2 ? 1 : 0;
            }
        }
        for (std::size_t i = 0; i < copy.size(); i += 2)
            for (int n = 1; n <= nsubj; ++n) st->RESP(n, copy[i]) = st->RESP(n, copy[i + 1]);
    }
    // Every respondent of the store, over the store's grid; the model's
    // number does not matter to the selection.
    std::vector<int> column(int col, int mode, int max_flips = -1) {
        const FittedModel fm{model_parameters(*st, 4, NCAT, nitem), *st, nsubj, nquad};
        const NcSample sample{st->RESP, nsubj, false, st->XQUAD, st->WQUAD, nquad};
        ITCORR(con, fm, sample, *w, mode, max_flips);
        std::vector<int> v;
        for (int i = 1; i <= nitem; ++i) v.push_back(w->NCITEM(i, col));
        return v;
    }
};

TEST(Itcorr, ChoosesTheItemsAndTheirDirections) {
    using V = std::vector<int>;
    {
        Selection s({0.5, 1.0, 1.5});
        EXPECT_EQ(s.column(1, 1), (V{1, 1, 1}));
        EXPECT_EQ(s.column(3, 1), (V{0, 0, 0}));
    }
    {
        // Only the items outside the central 80 % of a normal density.
        Selection s({-2.0, -0.5, 0.5, 2.0});
        EXPECT_EQ(s.column(1, 2), (V{1, 0, 0, 1}));
        EXPECT_EQ(s.column(2, 2), (V{1, 0, 0, 1}));
        EXPECT_EQ(s.column(3, 2), (V{1, 0, 0, 0}));
    }
    {
        // Items exactly at the 10th and the 90th percentile belong to the
        // centre: with 10 % of the density at -1 and 80 % at 0 the two
        // percentiles are those points.
        Selection s({-2.0, -1.0, 0.0, 2.0});
        s.nquad = 3;
        for (int q = 1; q <= 3; ++q) {
            s.st->XQUAD(q) = q - 2.0;
            s.st->DENS(q) = q == 2 ? 0.8 : 0.1;
        }
        EXPECT_EQ(s.column(1, 2), (V{1, 0, 0, 1}));
    }
    {
        // Nothing outside the centre: no score at all.
        Selection s({-0.5, 0.0, 0.5});
        EXPECT_EQ(s.column(1, 2), (V{0, 0, 0}));
        EXPECT_EQ(s.column(3, 2), (V{0, 0, 0}));
    }
    {
        // No respondent left: the directions the locations give.
        Selection s({-2.0, 2.0});
        s.nsubj = 0;
        EXPECT_EQ(s.column(3, 1), (V{1, 0}));
    }
    {
        // Item 4 starts reversed for its location, but answers as items 1
        // and 2 do: its reversal correlates most negatively and is undone.
        Selection s({2.0, 2.2, -2.0, -2.2}, {4, 1});
        EXPECT_EQ(s.column(3, 1), (V{0, 0, 1, 0}));
        EXPECT_EQ(s.con.str(), "");
    }
    {
        // The rest score is centred on the mean total less the respondent's
        // own item score over N.  Five respondents, items 1 and 2 starting
        // reversed: the correlations are -3/25, -24/125 and -11/125 over
        // sqrt(142/125 * 2/5), sqrt(214/125 * 16/25) and sqrt(126/125 * 4/25),
        // -0.178, -0.183 and -0.219, so item 3 is flipped; then item 1 at
        // -0.149; then all are positive.  Centred on the mean rest score,
        // item 2 would correlate least and be the only flip.
        Selection s({-1.0, -1.0, 1.0});
        s.nsubj = 5;
        s.NCAT(1) = s.NCAT(2) = 3;
        const int resp[5][3] = {{2, 0, 1}, {0, 1, 1}, {1, 0, 0}, {1, 0, 1}, {1, 2, 1}};
        for (int n = 1; n <= 5; ++n)
            for (int i = 1; i <= 3; ++i) s.st->RESP(n, i) = resp[n - 1][i - 1];
        EXPECT_EQ(s.column(3, 1), (V{0, 1, 1}));
    }
    {
        // The same with no flip allowed: the note, and the start directions.
        Selection s({2.0, 2.2, -2.0, -2.2}, {4, 1});
        EXPECT_EQ(s.column(3, 1, 0), (V{0, 0, 1, 1}));
        EXPECT_NE(s.con.str().find("STOPPED AFTER 0 REVERSALS"), std::string::npos);
    }
}

}  // namespace
}  // namespace vorm::test
