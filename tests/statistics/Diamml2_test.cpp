// Infit and outfit against the formulas worked out here on their own (the
// model's probabilities from the simulator's independent evaluation, sums in
// long double, tail probabilities from Boost.Math), the fit report of a small
// job against a file written by hand from the report's layouts, the flags at
// their cut-offs, the store changes, and what the analysis does where the
// formulas break down.
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fit_job.h"
#include "model/Getqua.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::FitJob;

struct Reference {
    double infit, outfit, t_in, t_out, p_in, p_out;
    float chi_in, chi_out;
};

// One valid response and the probabilities of its item at the respondent's ability.
struct Cell {
    int x;
    std::vector<double> P;
};

Reference reference(const std::vector<Cell>& cells, int df) {
    long double z2 = 0, wz2 = 0, sw = 0, kw2 = 0, kmw2 = 0;
    for (const Cell& c : cells) {
        long double E = 0, W = 0, K = 0;
        for (std::size_t k = 0; k < c.P.size(); ++k) E += k * c.P[k];
        for (std::size_t k = 0; k < c.P.size(); ++k) {
            const long double d = k - E;
            W += d * d * c.P[k];
            K += d * d * d * d * c.P[k];
        }
        const long double z = (c.x - E) * (c.x - E) / W;
        z2 += z;
        wz2 += W * z;
        sw += W;
        kw2 += K / (W * W);
        kmw2 += K - W * W;
    }
    const long double n = cells.size();
    Reference r{};
    r.outfit = static_cast<double>(z2 / n);
    r.infit = static_cast<double>(wz2 / sw);
    const long double q_out = std::sqrt(kw2 / (n * n) - 1 / n), q_in = std::sqrt(kmw2) / sw;
    r.t_in = static_cast<double>((std::cbrt(static_cast<long double>(r.infit)) - 1) * 3 / q_in + q_in / 3);
    r.t_out = static_cast<double>((std::cbrt(static_cast<long double>(r.outfit)) - 1) * 3 / q_out + q_out / 3);
    r.chi_in = static_cast<float>(r.infit) * static_cast<float>(cells.size());
    r.chi_out = static_cast<float>(r.outfit) * static_cast<float>(cells.size());
    r.p_in = boost::math::gamma_q(df / 2.0, r.chi_in / 2.0);
    r.p_out = boost::math::gamma_q(df / 2.0, r.chi_out / 2.0);
    return r;
}

// The value as the scratch file's F10.5 field holds it.
double five_decimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5f", v);
    return std::strtod(buf, nullptr);
}

// An item's degrees of freedom: its valid responses less its own parameters.
int item_df(int model, int N, int C) {
    const int own[] = {0, 1, 2, 1, C, 2, 3, 2, C + 1};
    return N - own[model];
}

// The mean squares are exact to rounding; the standardized values multiply
// their error by 3/q (about 40 for 400 responses) and are compared absolutely
// near zero.  The tail probabilities are single precision, and ln Gamma(df/2)
// rounded to a float costs up to 3e-5 at 400 degrees of freedom
// (Gammp_test.cpp bounds it).
constexpr double kRel = 1e-11;
constexpr double kProbabilityAbs = 5e-5;

void expect_matches(const FitStatistics& f, const Reference& r, const std::string& what) {
    EXPECT_NEAR_REL(f.infit, r.infit, kRel) << what;
    EXPECT_NEAR_REL(f.outfit, r.outfit, kRel) << what;
    EXPECT_NEAR_REL(f.t_in, r.t_in, kRel, 1.0) << what;
    EXPECT_NEAR_REL(f.t_out, r.t_out, kRel, 1.0) << what;
    EXPECT_NEAR_REL(f.chi_in, r.chi_in, 0x1p-23) << what;
    EXPECT_NEAR_REL(f.chi_out, r.chi_out, 0x1p-23) << what;
    EXPECT_NEAR(f.p_in, r.p_in, kProbabilityAbs) << what;
    EXPECT_NEAR(f.p_out, r.p_out, kProbabilityAbs) << what;
}

// The degrees of freedom that each item's block of the report prints, by
// item number; the respondents' blocks follow the items'.
std::map<int, int> printed_item_df(const std::string& report) {
    std::map<int, int> df;
    int item = 0;
    for (const auto& l : test::split_lines(report)) {
        if (l.rfind(" SUBJECT#", 0) == 0) break;
        if (l.rfind(" ITEM#", 0) == 0) item = std::stoi(l.substr(6, 3));
        if (l.rfind("  INFIT=", 0) == 0) df[item] = std::stoi(l.substr(l.find(" DF=") + 4, 4));
    }
    return df;
}

// Every item's and respondent's statistics, and the localized values from
// the five-decimal standardized values.
void check_against_reference(FitJob& j) {
    const std::map<int, int> printed = printed_item_df(j.fit_report());
    for (bool items : {true, false}) {
        const int count = items ? j.job->NITEM : j.subjects(), inner = items ? j.subjects() : j.job->NITEM;
        std::vector<double> t[2], loc[2];
        for (int a = 1; a <= count; ++a) {
            std::vector<Cell> cells;
            for (int b = 1; b <= inner; ++b) {
                const int n = items ? b : a, i = items ? a : b;
                if (j.response(n, i) >= 0) cells.push_back({j.response(n, i), j.probabilities(i, j.st->THETA(n))});
            }
            const int m = static_cast<int>(cells.size());
            const int df = items ? item_df(j.design.model, m, j.job->NCAT(a)) : m - 1;
            const Reference r = reference(cells, df);
            const FitStatistics& f = items ? j.fit().ITEMFIT(a) : j.fit().PERSFIT(a);
            const std::string what = (items ? "item " : "respondent ") + std::to_string(a);
            expect_matches(f, r, what);
            EXPECT_EQ(f.df, df) << what;
            if (items) {
                EXPECT_EQ(printed.at(j.st->ITEMID(a)), df) << what;
            }
            t[0].push_back(r.t_in), t[1].push_back(r.t_out), loc[0].push_back(f.loc_in), loc[1].push_back(f.loc_out);
        }
        for (int side = 0; side < 2; ++side) {
            double squares = 0;
            for (double v : t[side]) squares += v * v;
            for (std::size_t k = 0; k < t[side].size(); ++k)
                EXPECT_NEAR_REL(loc[side][k], five_decimals(t[side][k]) * std::sqrt(count / squares), 1e-9, 1e-3);
        }
    }
}

// Three items of 2, 3 and 3 categories, seventeen respondents, one missing
// response: small enough to work out apart from the engine, and enough for
// some number-correct tables to keep two or more score groups.
std::unique_ptr<FitJob> small_job() {
    std::vector<vormsim::Item> items(3);
    items[0] = {2, 0.6, 1.0, 0.5, {}};
    items[1] = {3, -0.8, 1.0, 0.4, {}};
    items[2] = {3, 1.4, 1.0, 0.35, {}};
    auto j = std::make_unique<FitJob>(2, items,
                                      std::vector<double>{0.3, -1.5, 2.1, -0.7, 0.9, -0.2, 1.6, -1.5, 0.5, 1.2, -0.6,
                                                          -1.6, -0.1, 0.6, 1.3, -1.5, -1.6},
                                      std::vector<std::vector<int>>{{1, 2, 0},
                                                                    {0, 2, 0},
                                                                    {0, 0, 2},
                                                                    {1, 1, 0},
                                                                    {1, 0, 2},
                                                                    {0, 2, 1},
                                                                    {-9, 0, 0},
                                                                    {0, 1, 0},
                                                                    {1, 1, 0},
                                                                    {1, 2, 2},
                                                                    {1, 1, 0},
                                                                    {0, 0, 0},
                                                                    {0, 0, 1},
                                                                    {1, 2, 1},
                                                                    {1, 0, 2},
                                                                    {0, 1, 2},
                                                                    {1, 2, 0}});
    JobSettings& s = *j->job;
    const int ids[] = {3, 5, 8};
    for (int i = 1; i <= 3; ++i) j->st->ITEMID(i) = ids[i - 1];
    for (int n = 1; n <= s.NSUBJ; ++n) j->st->PERSID(n) = 100 + n;
    s.IPRALL = 1;
    s.ITTCUT = 0.72;
    s.ITALPH = 0.079;
    s.PSTCUT = 0.5;
    s.PSALPH = 0.03;
    s.PSLCUT = 2.25;
    s.IMONTH = 3, s.IDAY = 14, s.IYEAR = 2026, s.IHOUR = 9, s.IMIN = 5, s.ISEC = 7;
    // Five points, the latent density the grid's weights.
    s.NQUAD = 5;
    double mean = 0.0, sd = 0.0;
    GETQUA(j->st->XQUAD, j->st->DENS, mean, s.NQUAD, sd);
    return j;
}

TEST(Diamml2, InfitAndOutfitMatchAnIndependentComputation) {
    auto hand = small_job();
    hand->run();
    check_against_reference(*hand);
    // Per-item thresholds and discriminations, categories 2 to 6, 5 % missing.
    auto sim = test::simulated_fit_job(8, {2, 3, 4, 5, 6, 3, 4, 5}, 400, 0.05, 31);
    sim->run();
    check_against_reference(*sim);
    // The models whose unit or thresholds the items share: an item's own
    // parameters are its location and, in models 5 and 7, its discrimination.
    for (int model : {1, 3, 5, 7}) {
        SCOPED_TRACE("model " + std::to_string(model));
        auto common = test::simulated_fit_job(model, std::vector<int>(5, 4), 60, 0.05, 40 + model);
        common->run();
        check_against_reference(*common);
    }
}

// The analysis writes no estimate, no response and no setting: not in a
// model whose items share their unit or thresholds, kept only in UNIT or
// TAUC (the items' own places empty, as an estimation of such a model leaves
// them), nor where a unit stands for thresholds; and the small job's seventh
// respondent, whose first response is missing, is dropped only from the
// analysis's own copy of the responses.
TEST(Diamml2, LeavesTheStoreAndTheJobAsTheyWere) {
    std::vector<std::unique_ptr<FitJob>> jobs;
    jobs.push_back(small_job());
    for (int model : {1, 3}) {
        auto j = test::simulated_fit_job(model, std::vector<int>(4, 3), 40, 0.0, 60 + model);
        for (int i = 1; i <= j->job->NITEM; ++i) {
            j->st->LAMBDA(i) = 0.0;
            for (int k = 0; k < MAXCAT; ++k) j->st->TAU(i, k) = 0.0;
        }
        jobs.push_back(std::move(j));
    }
    for (const auto& j : jobs) {
        SCOPED_TRACE("model " + std::to_string(j->job->MODEL));
        const auto before = std::make_unique<Store>(*j->st);
        const int nsubj = j->job->NSUBJ;
        j->run();
        EXPECT_EQ(std::memcmp(before.get(), j->st.get(), sizeof(Store)), 0);
        EXPECT_EQ(j->job->NSUBJ, nsubj);
    }
    const FitJob& small = *jobs[0];
    for (int n = 1, from = 1; n < small.subjects(); ++n, ++from) {
        if (from == 7) ++from;
        for (int i = 1; i <= 3; ++i) EXPECT_EQ(small.fit().nc.KEPT(n, i), small.response(from, i)) << n << " " << i;
    }
}

TEST(Diamml2, FitReportOfASmallJobIsAsLaidOut) {
    auto j = small_job();
    j->run();
    const auto expected = test::split_lines(test::read_file(test::test_data_dir() + "/fit/small_model2.FT15"));
    const auto actual = test::split_lines(j->fit_report());
    ASSERT_EQ(actual.size(), expected.size()) << j->fit_report();
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(actual[k], expected[k]) << "line " << k + 1;
    EXPECT_EQ(j->console.str(), "");

    // Without IPRALL only the seven flagged respondents are printed; an
    // identifier wider than its field widens its own line only.
    auto flagged_only = small_job();
    flagged_only->job->IPRALL = 0;
    flagged_only->st->PERSID(7) = 123456;
    flagged_only->run();
    const std::string rep = flagged_only->fit_report();
    EXPECT_EQ(rep.find(" SUBJECT#  102"), std::string::npos);
    EXPECT_NE(rep.find(" SUBJECT#  101"), std::string::npos);
    EXPECT_NE(rep.find("\n SUBJECT# 123456 THETA= 1.60000\n" + expected[53] + "\n" + expected[54] + "\n"),
              std::string::npos);
    EXPECT_EQ(test::split_lines(rep).size(), expected.size() - 10 * 4);
}

// A probability equal to its alpha is flagged, a t equal to its cut-off is
// not; items are flagged on |t|, respondents only on a large positive t.
TEST(Diamml2, FlagsAtTheirCutOffs) {
    auto base = small_job();
    base->run();
    const FitStatistics item8 = base->fit().ITEMFIT(3), item3 = base->fit().ITEMFIT(1), p106 = base->fit().PERSFIT(6);
    ASSERT_TRUE(item3.t_out < 0 && p106.t_in < 0);
    struct Case {
        double JobSettings::*cut;
        double value;
        const FitStatistics* (*of)(const FitWork&);
        const char* FitStatistics::*flag;
        const char* expected;
    };
    auto item8_of = [](const FitWork& w) { return &w.ITEMFIT(3); };
    auto item3_of = [](const FitWork& w) { return &w.ITEMFIT(1); };
    const Case cases[] = {
        {&JobSettings::ITALPH, item8.p_in, item8_of, &FitStatistics::flag_p_in, "+++"},
        {&JobSettings::ITALPH, std::nextafter(item8.p_in, 0.0f), item8_of, &FitStatistics::flag_p_in, "   "},
        {&JobSettings::ITTCUT, -item3.t_out, item3_of, &FitStatistics::flag_t_out, "   "},
        {&JobSettings::ITTCUT, std::nextafter(-item3.t_out, 0.0), item3_of, &FitStatistics::flag_t_out, "***"},
        {&JobSettings::PSTCUT, -p106.t_in - 0.01, [](const FitWork& w) { return &w.PERSFIT(6); },
         &FitStatistics::flag_t_in, "   "},
    };
    for (const Case& c : cases) {
        auto j = small_job();
        (*j->job).*c.cut = c.value;
        j->run();
        EXPECT_STREQ(c.of(j->fit())->*c.flag, c.expected) << c.value;
    }
}

// A chi-square of 10000 or more does not fit its scratch field: the second
// pass takes the value it wrote, and prints asterisks where the report's
// field is too narrow.  An item nobody answered has no statistics: they print
// as asterisks and leave the other items' localized values defined.
TEST(Diamml2, ValuesThatCannotBePrintedOrFormed) {
    // One respondent far from 100 two-category items agrees with every one.
    std::vector<vormsim::Item> items(100, vormsim::Item{2, 0.0, 1.0, 0.6, {}});
    auto far =
        std::make_unique<FitJob>(1, items, std::vector<double>{6.0, 0.0},
                                 std::vector<std::vector<int>>{std::vector<int>(100, 1), std::vector<int>(100, 0)});
    far->run();
    const FitStatistics& f = far->fit().PERSFIT(1);
    ASSERT_GE(f.chi_out, 10000.0f);
    const std::string first = test::split_lines(far->io.units.contents(Unit::FT19)).at(0);
    EXPECT_NE(first.find("**********"), std::string::npos) << first;
    const std::string rep = far->fit_report();
    const std::string block = rep.substr(rep.find(" SUBJECT#    1"));
    // A chi-square above 10000 on 99 DF leaves an upper tail far below 0.0005.
    EXPECT_NE(block.find(" OUTFIT=***** CHISQ=******* DF=  99 P<0.000"), std::string::npos) << block.substr(0, 300);
    EXPECT_NE(rep.find("LIKELIHOOD RATIO GLOBAL CHI-SQUARE="), std::string::npos);

    auto unanswered = small_job();
    for (int n = 1; n <= unanswered->job->NSUBJ; ++n) unanswered->st->RESP(n, 2) = -1;
    unanswered->run();
    const FitStatistics& none = unanswered->fit().ITEMFIT(2);
    EXPECT_TRUE(std::isnan(none.infit) && std::isnan(none.t_in) && std::isnan(none.p_out));
    EXPECT_TRUE(std::isfinite(unanswered->fit().ITEMFIT(1).loc_in));
    const std::string urep = unanswered->fit_report();
    EXPECT_NE(urep.find("  INFIT=***** CHISQ=******* DF=  -2 P<*****"), std::string::npos);
    EXPECT_NE(urep.find(" ITEM#   5 DELTA=  -0.800 G**2=   0.000 WITH   0 DF  P<****** BASED ON   0 FIT GROUPS"),
              std::string::npos);
    EXPECT_NE(unanswered->console.str().find(" BAD ARGUMENTS IN GAMMP"), std::string::npos);
}

}  // namespace
}  // namespace vorm
