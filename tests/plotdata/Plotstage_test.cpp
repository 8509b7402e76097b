// The plot stage as the run driver calls it: what the curve, information and
// group files hold against the model, the stops, and a whole run of the
// example job with plots.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>
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
        const std::string estimates = estimates_of(job, st);
        const int infmax = plot_files(r.io, job, fitted_model(job, st), *r.work);
        SCOPED_TRACE("model " + std::to_string(model));
        std::vector<int> by_estimate(300);
        std::iota(by_estimate.begin(), by_estimate.end(), 1);
        std::sort(by_estimate.begin(), by_estimate.end(), [&st](int a, int b) { return st.THETA(a) < st.THETA(b); });

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
                long double lp[MAXCAT], expected = 0.0, sum = 0.0;
                reference_log_prob(model, st, i, K, st.UNIT, st.TAUC, theta_grid()[g], lp);
                for (int c = 0; c < K; ++c) {
                    sum += probs[g][c + 1];
                    expected += c * std::exp(lp[c]);
                }
                EXPECT_NEAR(sum, 1.0, K * kHalfUnit) << "PLOT2" << key << " line " << g + 1;
                EXPECT_NEAR(scores[g][1], static_cast<double>(expected), kHalfUnit) << "PLOT3" << key;
                // Fisher information: the sum of P'(c)^2 / P(c), P' by delta (minus by theta).
                long double dp[MAXCAT], info = 0.0;
                reference_dprob(model, st, i, K, st.UNIT, st.TAUC, theta_grid()[g], 1, 0, dp);
                for (int c = 0; c < K; ++c) info += dp[c] * dp[c] / std::exp(lp[c]);
                EXPECT_NEAR(infos[g][1], static_cast<double>(info), kHalfUnit) << "PLOT5" << key << " line " << g + 1;
                test_info[g] += infos[g][1];
                test_score[g] += scores[g][1];
                largest = std::max(largest, infos[g][1]);
            }
            top = std::max(top, static_cast<int>(largest) + 1);

            // Groups of respondents in order of their estimates, 300 in 7:
            // six of 43, then 42.  Each line: the group, its size, its mean
            // estimate; the mean observed and expected response, the root
            // mean variance and the band of two standard errors of those who
            // answered.
            const auto groups = r.table("PLOT1" + key + ".DAT");
            ASSERT_EQ(groups.size(), 7u);
            for (int g = 0, first = 0; g < 7; ++g) {
                const int size = g < 6 ? 43 : 42;
                double mean = 0.0, n = 0.0, o = 0.0, e = 0.0, v = 0.0;
                for (int at = first; at < first + size; ++at) {
                    const int j = by_estimate[static_cast<std::size_t>(at)];
                    mean += st.THETA(j) / size;
                    if (st.RESP(j, i) < 0) continue;
                    long double lp[MAXCAT], E = 0.0, V = 0.0;
                    reference_log_prob(model, st, i, K, st.UNIT, st.TAUC, st.THETA(j), lp);
                    for (int c = 0; c < K; ++c) E += c * std::exp(lp[c]);
                    for (int c = 0; c < K; ++c) V += (c - E) * (c - E) * std::exp(lp[c]);
                    n += 1.0;
                    o += st.RESP(j, i);
                    e += static_cast<double>(E);
                    v += static_cast<double>(V);
                }
                first += size;
                o /= n, e /= n, v /= n;
                const double band = 2.0 * std::sqrt(v / n);
                const double line[] = {g + 1.0, 1.0 * size, 0.0, mean, o, e, std::sqrt(v), 0.0, e + band, e - band};
                ASSERT_EQ(groups[static_cast<std::size_t>(g)].size(), 10u);
                for (std::size_t f = 0; f < 10; ++f)
                    EXPECT_NEAR(groups[static_cast<std::size_t>(g)][f], line[f], kHalfUnit)
                        << "PLOT1" << key << " group " << g + 1 << " field " << f + 1;
            }
        }
        for (int i = 1; i <= 3; ++i) EXPECT_EQ(range_top(r.lines("PLOT5" + item_key(st.ITEMID(i)) + ".SCR")[4]), top);
        EXPECT_EQ(infmax, top - 1) << "the run's information maximum";
        const auto test = r.table("PLOT6.DAT");
        const auto tcc = r.table("PLOT4.DAT");
        for (int g = 0; g < NGRID; ++g) {
            EXPECT_NEAR(test[g][1], test_info[g], kHalfUnit) << "PLOT6 line " << g + 1;
            EXPECT_NEAR(tcc[g][1], test_score[g], 4 * kHalfUnit) << "PLOT4 line " << g + 1;
        }
        // The items' own rows keep the simulated values where the model shares
        // a unit or thresholds: the plot stage writes no parameter.
        EXPECT_EQ(changed_estimates(estimates, job, st), std::vector<std::string>{});
    }
}

TEST(PlotStage, StopsWithTheRoutinesLinesAndLeavesWhatWasWritten) {
    const std::string exp = " Error model while calculating item expected value.";
    const std::string inf = " Error model while calculating information function";
    const std::string back = " Cannot read back the plot data file PLOT507.DAT.";
    const struct {
        int routine;  // 1..7 PLOTDATAn with a bad model, 10 and 11 a bad PLOT5 file
        std::string console, status, file;
        std::size_t lines;
    } cases[] = {{1, exp, exp, "", 0},
                 {2, inf, exp, "PLOT207.DAT", 0},
                 {3, " Error while calculating item expected value", " Error while calculating item expected value.",
                  "PLOT307.DAT", 0},
                 {4, exp, exp, "PLOT4.DAT", 0},
                 {5, inf + ".", inf + ".", "PLOT507.DAT", 0},
                 {7, exp, exp, "", 0},
                 {10, back, back, "PLOT507.DAT", 80},
                 {11, back, back, "", 0}};
    auto w = std::make_unique<PlotWork>();
    for (const auto& c : cases) {
        PlotRun r;
        Store& st = *r.st;
        JobSettings& job = *r.job;
        const std::string& dir = job.WRKDIR;
        job.NITEM = 2, job.NSUBJ = 4;
        job.NCAT(1) = job.NCAT(2) = 3;
        st.UNIT = 0.3;
        st.ITEMID(1) = 7, st.ITEMID(2) = 100;
        auto model = [&](int number) {
            job.MODEL = number;
            return r.fitted();
        };
        const auto status = r.stops([&] {
            switch (c.routine) {
                case 1:
                    return PLOTDATA1(r.io, model(9), *w, 3, dir);
                case 2:
                    return PLOTDATA2(r.io, model(0), 1, dir);
                case 3:
                    return PLOTDATA3(r.io, model(9), 1, dir);
                case 4:
                    return PLOTDATA4(r.io, model(-1), dir);
                case 5:
                    PLOTDATA5(r.io, model(12), 1, dir);
                    return;
                case 7:
                    return PLOTDATA7(r.io, model(0), *w, 2, dir);
                case 10:
                    write_file(r.dir.file("PLOT507.DAT"), repeat_lines("  -4.000    0.000", 80));
            }
            PLOTDATA6(r.io, r.fitted(), dir);
        });
        EXPECT_EQ(status, std::vector<std::string>{c.status}) << c.routine;
        EXPECT_EQ(r.con.str(), c.console + "\n") << c.routine;
        // What was written before the stop stays; the bad line is not among it.
        EXPECT_EQ(folder_names(r.dir).size(), c.file.empty() ? 0u : 1u) << c.routine;
        if (!c.file.empty()) {
            EXPECT_EQ(r.lines(c.file).size(), c.lines) << c.routine;
        }
    }
}

// A value too wide for its field fills it with asterisks, as in the titles;
// the file is written whole, the run goes on, and the report and the run's
// status warnings name the file once.  A summed item information that cannot be read back is no number
// either.
TEST(PlotStage, ValuesTooWideForTheirFieldsAreAsterisksNamedInTheReport) {
    PlotRun r;
    Store& st = *r.st;
    const std::string& dir = r.job->WRKDIR;
    r.job->NITEM = 2, r.job->NQUAD = 2;
    st.ITEMID(1) = 7, st.ITEMID(2) = 100;
    st.DELTA(1) = 0.5, st.DELTA(2) = -12345.6;
    PLOTLOC(r.io, r.fitted(), dir);
    EXPECT_EQ(r.lines("PLOTLOC.DAT"), (std::vector<std::string>{"   0.500    1.000", "********    1.000"}));
    EXPECT_EQ(r.lines("PLOTLOC.SCR").size(), 9u);

    st.XQUAD(1) = -1.0, st.XQUAD(2) = 1.0;
    st.DENS(1) = 0.25, st.DENS(2) = std::nan("");
    PLOTLAT(r.io, r.fitted(), dir);
    EXPECT_EQ(r.lines("PLOTLAT.DAT"), (std::vector<std::string>{"  -1.000    0.250", "   1.000 ********"}));
    EXPECT_EQ(r.lines("PLOTLAT.SCR")[4], "set yrange [0:0.30]");

    std::string wide, plain;
    for (int g = 0; g < NGRID; ++g) {
        const std::string theta = field("(F8.3)", theta_grid()[g]);
        wide += theta + (g == 4 ? " ********" : "    2.500") + "\r\n";
        plain += theta + "    1.250\r\n";
    }
    write_file(r.dir.file("PLOT507.DAT"), wide);
    write_file(r.dir.file("PLOT5100.DAT"), plain);
    PLOTDATA6(r.io, r.fitted(), dir);
    const auto test = r.lines("PLOT6.DAT");
    ASSERT_EQ(test.size(), static_cast<std::size_t>(NGRID));
    EXPECT_EQ(test[4], field("(F8.3)", theta_grid()[4]) + " ********");
    EXPECT_EQ(test[5], field("(F8.3)", theta_grid()[5]) + "    3.750");
    EXPECT_EQ(r.lines("PLOT6.SCR")[4], "set yrange [" + field("(I12)", -5) + ":" + field("(I12)", 5) + "]");

    // A density above 9.99 has a vertical range whose top does not fit F4.2.
    st.DENS(1) = 250.0, st.DENS(2) = 0.5;
    PLOTLAT(r.io, r.fitted(), dir);
    EXPECT_EQ(r.lines("PLOTLAT.DAT"), (std::vector<std::string>{"  -1.000  250.000", "   1.000    0.500"}));
    EXPECT_EQ(r.lines("PLOTLAT.SCR")[4], "set yrange [0:****]");

    const std::string note = " HOLDS A VALUE TOO WIDE FOR ITS FIELD, WRITTEN AS ASTERISKS.";
    const std::vector<std::string> named{"  THE PLOT FILE PLOTLOC.DAT" + note, "  THE PLOT FILE PLOTLAT.DAT" + note,
                                         "  THE PLOT FILE PLOT6.DAT" + note, "  THE PLOT FILE PLOTLAT.SCR" + note};
    EXPECT_EQ(split_lines(r.report()), named);
    EXPECT_EQ(r.io.warnings.lines(), named);
    EXPECT_EQ(read_file(r.dir.file("status")), named.back() + "\n");
    EXPECT_EQ(r.con.str(), "");
}

// Two respondents of opposite answers: the estimates run far out, so the item
// locations do not fit their plot fields and the information matrices are
// singular.  The run still ends with the fit analysis, and its status lists
// below " end" every warning that the report gave, each once, in the
// report's order.
TEST(PlotStage, JobWhoseValuesOutgrowTheirFieldsEndsWithTheFitReport) {
    TempDir dir;
    write_file(dir.file("D.DAT"), "    1  1 0 1 0\n    2  0 1 0 1\n");
    std::string job;
    for (const char* answer : {"8",    "N", "N",  "10", "D.DAT", "(I5,1X,4I2)", "4",   "Y",    "2",     "N", "Y",
                               "0",    "N", "N",  "N",  "50",    "10",          "10",  "10",   "0.001", "Y", "20",
                               "2000", "Y", "20", "Y",  "2.0",   "0.05",        "2.0", "0.05", "2.0"})
        job += std::string(answer) + "\n";
    write_file(dir.file("JOB"), job);
    std::string console;
    ASSERT_EQ(run_engine({"JOB", dir.folder()}, dir.path().string(), "", &console), 0) << console;
    // Every location is beyond what F12.8 holds, so beyond F8.3 too.
    const auto items = split_lines(read_file(dir.file("FT16F001")));
    ASSERT_GE(items.size(), 5u);
    EXPECT_NE(items[4].find("DELTA=************"), std::string::npos) << items[4];
    const std::string rep = read_file(dir.file("FT06F001"));
    EXPECT_NE(rep.find("\n  THE PLOT FILE PLOTLOC.DAT HOLDS A VALUE TOO WIDE FOR ITS FIELD, WRITTEN AS ASTERISKS.\n"),
              std::string::npos);
    std::vector<std::string> warned{" end"};
    for (const std::string& l : split_lines(rep))
        if ((l.rfind("  SINGULARITY ", 0) == 0 || l.rfind("  THE PLOT FILE ", 0) == 0) &&
            std::find(warned.begin(), warned.end(), l) == warned.end())
            warned.push_back(l);
    EXPECT_GT(warned.size(), 3u);
    EXPECT_EQ(split_lines(read_file(dir.file("status"))), warned);
    const std::string fit = read_file(dir.file("FT15F001"));
    EXPECT_NE(fit.find(" LIKELIHOOD RATIO GLOBAL CHI-SQUARE="), std::string::npos);
    EXPECT_NE(fit.find("ITEM LEVEL CHI-SQUARES CONDITIONED ON NC SCORE"), std::string::npos);
}

// The shipped example job with plots asked for, run by the built program: it
// ends normally and the work folder gains exactly the plot files (beside the
// unit files and the run's lock file).
TEST(PlotStage, ExampleJobWithPlotsEndsAndWritesEveryPlotFile) {
    TempDir dir;
    std::filesystem::copy_file(source_dir() + "/examples/EXAMPLE.DAT", dir.file("EXAMPLE.DAT"));
    std::string cmd = read_file(source_dir() + "/examples/EXAMPLE.CMD");
    const std::string no = "N             plots";
    ASSERT_NE(cmd.find(no), std::string::npos);
    cmd.replace(cmd.find(no), no.size(), "Y             plots\n10            plot groups\n100           pair groups");
    write_file(dir.file("EXAMPLE.CMD"), cmd);
    std::string console;
    EXPECT_EQ(run_engine({"EXAMPLE.CMD", dir.folder()}, dir.path().string(), "", &console), 0) << console;
    EXPECT_EQ(read_file(dir.file("status")), " end\n");
    EXPECT_NE(console.find(" GENERATING PLOT DATA FILES"), std::string::npos);
    std::vector<std::string> keys;
    for (int i = 1; i <= 15; ++i) keys.push_back(item_key(i));
    std::set<std::string> expected = plot_names(keys);
    for (const char* f : {"EXAMPLE.CMD", "EXAMPLE.DAT", "status", "FT06F001", "FT08F001", "FT13F001", "FT14F001",
                          "FT15F001", "FT16F001", "FT17F001", "FT18F001", "FT19F001", "VORMCALC.lock"})
        expected.insert(f);
    EXPECT_EQ(folder_names(dir), expected);
}

}  // namespace
}  // namespace vorm::test
