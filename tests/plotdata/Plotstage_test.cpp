// The plot stage as the run driver calls it: what the curve, information and
// group files hold against the model, the sort order of tied estimates, and
// the stops.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

#include "../model/model_reference.h"
#include "driver/Vormrun.h"
#include "plot_fixture.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"
#include "simulated_job.h"

namespace vorm::test {
namespace {

constexpr double kHalfUnit = 0.0005 + 1e-9;  // one value printed with three decimals

std::set<std::string> folder_names(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.insert(e.path().filename().string());
    return names;
}

std::set<std::string> plot_names(const std::vector<std::string>& keys) {
    std::set<std::string> names;
    for (const char* ext : {".DAT", ".SCR"}) {
        for (const std::string& k : keys)
            for (const char* kind : {"PLOT1", "PLOT2", "PLOT3", "PLOT5"}) names.insert(kind + k + ext);
        for (const char* base : {"PLOT4", "PLOT6", "PLOT7", "PLOTEAP", "PLOTLAT", "PLOTLOC"})
            names.insert(base + std::string(ext));
    }
    return names;
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int k = 0; k < n; ++k) out += s;
    return out;
}

// The top of a "set yrange [lo:hi]" line.
int range_top(const std::string& line) { return std::stoi(line.substr(line.find(':') + 1)); }

TEST(PlotStage, CurvesGroupsAndInformationAgreeWithTheModel) {
    for (int model = 1; model <= 8; ++model) {
        PlotRun r;
        JobSettings& job = *r.job;
        Store& st = *r.st;
        fill_simulated(job, st, model, {10, 4, 2}, 300, 0.1, 40 + model);
        st.ITEMID(1) = 100, st.ITEMID(2) = 7, st.ITEMID(3) = 31;
        job.NTHGRP = 7, job.NTDGRP = 50;
        plot_files(r.io, job, st);
        SCOPED_TRACE("model " + std::to_string(model));
        EXPECT_EQ(folder_names(r.dir), plot_names({"100", "07", "31"}));

        std::vector<double> test_info(NGRID, 0.0), test_score(NGRID, 0.0);
        int top = 0;
        for (int i = 1; i <= 3; ++i) {
            const int K = job.NCAT(i);
            const std::string key = item_key(st.ITEMID(i));
            const auto probs = r.table("PLOT2" + key + ".DAT");
            const auto scores = r.table("PLOT3" + key + ".DAT");
            const auto infos = r.table("PLOT5" + key + ".DAT");
            double largest = 0.0;
            for (int g = 0; g < NGRID; ++g) {
                ASSERT_EQ(probs[g].size(), static_cast<std::size_t>(K + 1));
                EXPECT_NEAR(probs[g][0], -4.0 + 0.1 * g, 1e-9);
                long double lp[MAXCAT], expected = 0.0, sum = 0.0;
                reference_log_prob(model, st, i, K, st.UNIT, st.TAUC, theta_grid()[g], lp);
                for (int c = 0; c < K; ++c) {
                    sum += probs[g][c + 1];
                    expected += c * std::exp(lp[c]);
                }
                EXPECT_NEAR(sum, 1.0, K * kHalfUnit) << "PLOT2" << key << " line " << g + 1;
                EXPECT_NEAR(scores[g][1], static_cast<double>(expected), kHalfUnit) << "PLOT3" << key;
                EXPECT_GE(infos[g][1], 0.0);
                test_info[g] += infos[g][1];
                test_score[g] += scores[g][1];
                largest = std::max(largest, infos[g][1]);
            }
            top = std::max(top, static_cast<int>(largest) + 1);

            // Groups of respondents in order of their estimates.
            const auto groups = r.table("PLOT1" + key + ".DAT");
            for (std::size_t n = 1; n < groups.size(); ++n) EXPECT_GE(groups[n][3], groups[n - 1][3]);
        }
        for (int i = 1; i <= 3; ++i) EXPECT_EQ(range_top(r.lines("PLOT5" + item_key(st.ITEMID(i)) + ".SCR")[4]), top);
        const auto test = r.table("PLOT6.DAT");
        const auto tcc = r.table("PLOT4.DAT");
        for (int g = 0; g < NGRID; ++g) {
            EXPECT_NEAR(test[g][1], test_info[g], kHalfUnit) << "PLOT6 line " << g + 1;
            EXPECT_NEAR(tcc[g][1], test_score[g], 4 * kHalfUnit) << "PLOT4 line " << g + 1;
        }
        // The common parameters are now every item's own, as later titles print them.
        for (int i = 1; i <= 3; ++i) {
            if (model == 1 || model == 5) {
                EXPECT_EQ(st.LAMBDA(i), st.UNIT);
            }
            if (model == 3 || model == 7) {
                for (int k = 0; k < job.NCAT(i); ++k) EXPECT_EQ(st.TAU(i, k), st.TAUC(k));
            }
        }
    }
}

// Tied estimates fall into the groups that the key-tag sort puts them in: with
// estimates 1, 0, 0, 0, 0 its order is respondents 5, 2, 3, 4, 1, where an
// order keeping ties as they came would put respondent 4 in the first group.
TEST(PlotStage, GroupsFollowTheSortOrderOfTiedEstimates) {
    PlotRun r;
    JobSettings& job = *r.job;
    Store& st = *r.st;
    job.MODEL = 1, job.NITEM = 1, job.NSUBJ = 5, job.NCAT(1) = 3;
    st.ITEMID(1) = 1, st.UNIT = 0.3;
    const int resp[] = {2, 0, 0, 1, 2};
    for (int j = 1; j <= 5; ++j) st.THETA(j) = j == 1 ? 1.0 : 0.0, st.RESP(j, 1) = resp[j - 1];
    auto work = std::make_unique<PlotWork>();
    PLOTDATA1(r.io, st, *work, 2, 1, job.NCAT, 1, 5, st.UNIT, st.TAUC, job.WRKDIR);
    int groups = 2;
    PLOTDATA7(r.io, st, *work, 1, job.NCAT, 1, 5, groups, st.UNIT, st.TAUC, job.WRKDIR);
    const auto fit = r.lines("PLOT101.DAT");
    ASSERT_EQ(fit.size(), 2u);
    EXPECT_EQ(fit[0].substr(0, 34), " 1    3    0.000    0.000    0.667");
    EXPECT_EQ(fit[1].substr(0, 34), " 2    2    0.000    0.500    1.500");
    const auto seven = r.lines("PLOT7.DAT");
    ASSERT_EQ(seven.size(), 2u);
    EXPECT_EQ(seven[0].substr(0, 25), "    0.000000     0.666667");
    EXPECT_EQ(seven[1].substr(0, 25), "    0.500000     1.500000");
}

TEST(PlotStage, StopsWithTheRoutinesLinesAndLeavesWhatWasWritten) {
    struct Case {
        const char* what;
        std::function<void(PlotRun&, PlotWork&)> run;
        std::string console, status, file;
        std::size_t lines;
    };
    const CatReals& tc = Store().TAUC;
    int big = 2;
    const Case cases[] = {
        {"fit plot",
         [&](PlotRun& r, PlotWork& w) { PLOTDATA1(r.io, *r.st, w, 3, 9, r.job->NCAT, 2, 4, 0.3, tc, r.job->WRKDIR); },
         " Error model while calculating item expected value.", " Error model while calculating item expected value.",
         "", 0},
        {"probabilities", [&](PlotRun& r, PlotWork&) { PLOTDATA2(r.io, *r.st, 0, 2, 3, 0.3, tc, r.job->WRKDIR); },
         " Error model while calculating information function", " Error model while calculating item expected value.",
         "PLOT2100.DAT", 0},
        {"scores", [&](PlotRun& r, PlotWork&) { PLOTDATA3(r.io, *r.st, 9, 1, 3, 0.3, tc, r.job->WRKDIR); },
         " Error while calculating item expected value", " Error while calculating item expected value.", "PLOT307.DAT",
         0},
        {"test score",
         [&](PlotRun& r, PlotWork&) { PLOTDATA4(r.io, *r.st, -1, 2, r.job->NCAT, 0.3, tc, r.job->WRKDIR); },
         " Error model while calculating item expected value.", " Error model while calculating item expected value.",
         "PLOT4.DAT", 0},
        {"information",
         [&](PlotRun& r, PlotWork&) {
             int m;
             PLOTDATA5(r.io, *r.st, 12, 1, 3, 0.3, tc, r.job->WRKDIR, m);
         },
         " Error model while calculating information function.", " Error model while calculating information function.",
         "PLOT507.DAT", 0},
        {"theta - delta",
         [&](PlotRun& r, PlotWork& w) { PLOTDATA7(r.io, *r.st, w, 0, r.job->NCAT, 2, 4, big, 0.3, tc, r.job->WRKDIR); },
         " Error model while calculating item expected value.", " Error model while calculating item expected value.",
         "", 0},
        {"location too far",
         [&](PlotRun& r, PlotWork&) {
             r.st->DELTA(2) = -12345.6;
             PLOTLOC(r.io, *r.st, 2, r.job->WRKDIR);
         },
         " Plot file PLOTLOC.DAT: a value is not a finite number that fits its field.",
         " Plot file PLOTLOC.DAT: a value is not a finite number that fits its field.", "PLOTLOC.DAT", 1},
        {"density not a number",
         [&](PlotRun& r, PlotWork&) {
             r.st->DENS(3) = std::nan("");
             PLOTLAT(r.io, r.st->DENS, 4, r.job->WRKDIR, r.st->XQUAD);
         },
         " Plot file PLOTLAT.DAT: a value is not a finite number that fits its field.",
         " Plot file PLOTLAT.DAT: a value is not a finite number that fits its field.", "PLOTLAT.DAT", 2},
        {"information file short",
         [&](PlotRun& r, PlotWork&) {
             write_file(r.dir.file("PLOT507.DAT"), repeat("  -4.000    0.000\r\n", 80));
             PLOTDATA6(r.io, *r.st, 1, r.job->WRKDIR);
         },
         " Cannot read back the plot data file PLOT507.DAT.", " Cannot read back the plot data file PLOT507.DAT.",
         "PLOT507.DAT", 80},
        {"information file missing", [&](PlotRun& r, PlotWork&) { PLOTDATA6(r.io, *r.st, 2, r.job->WRKDIR); },
         " Cannot read back the plot data file PLOT507.DAT.", " Cannot read back the plot data file PLOT507.DAT.", "",
         0},
    };
    auto work = std::make_unique<PlotWork>();
    for (const Case& c : cases) {
        PlotRun r;
        r.job->NCAT(1) = 3, r.job->NCAT(2) = 3;
        r.st->ITEMID(1) = 7, r.st->ITEMID(2) = 100;
        for (int j = 1; j <= 4; ++j) r.st->RESP(j, 1) = r.st->RESP(j, 2) = j % 3;
        EXPECT_EQ(r.stops([&] { c.run(r, *work); }), std::vector<std::string>{c.status}) << c.what;
        EXPECT_EQ(r.con.str(), c.console + "\n") << c.what;
        // A stop before any file leaves the folder empty.
        EXPECT_EQ(folder_names(r.dir).size(), c.file.empty() ? 0u : 1u) << c.what;
        if (!c.file.empty()) {
            EXPECT_EQ(r.lines(c.file).size(), c.lines) << c.what;
        }
    }
}

}  // namespace
}  // namespace vorm::test
