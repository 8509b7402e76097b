// Whole runs whose results must not change by a single bit when the engine's
// internals are rearranged: the shipped example and one job per model, each
// compared with the parameter files and every estimated number as it was when
// the reference files in tests/data/reference were written.
//
// The jobs' data were simulated once (tools/simulate) and are kept as files.
// The jobs cover every start-up chain kind: a model alone (1, 3), after its
// common-parameter model (2, 4, 5, 7), the constrained chains of models 6 and
// 8, per-item categories (2, 8) and missing responses (1, 3, 6, 8).
//
// Each job runs a second time with plots and fit statistics, so that the
// report, the fit report and its group detail, and every plot file are held
// byte for byte too, apart from the lines that carry the date and time of the
// run and the folders it ran in.  Their parameter files must equal the first
// run's, which wrote them before the plot and fit stages began.
//
// To write new reference files after an intended change of results, run this
// test with VORM_WRITE_REFERENCE set to a folder; the files land there, and
// each one written fails its test, since nothing was compared: a run in that
// mode can never pass for one that checked the results.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/paths.h"
#include "common/zeroed.h"
#include "driver/Vormrun.h"
#include "job_helpers.h"
#include "model/Marglike.h"
#include "numlib/Numlib_error.h"
#include "test_support.h"

namespace vorm::test {
namespace {

std::string reference_dir() { return test_data_dir() + "/reference/"; }

// Every number a later stage or a parameter file takes from the estimation,
// written exactly (hexadecimal floating point); the marginal log-likelihood,
// which the run driver holds only while it runs, as the run formed it from
// the estimates the store keeps.
std::string exact_results(const JobSettings& job, const Store& st) {
    std::string out;
    char buf[96];
    auto put = [&](const char* name, int k, double v) {
        std::snprintf(buf, sizeof buf, "%s %d %a\n", name, k, v);
        out += buf;
    };
    std::ostringstream con;
    put("XLOGL", 0, MARGLIKE(con, fitted_model(job, st), *std::make_unique<ProbabilityTable>()));
    put("UNIT", 0, st.UNIT);
    for (int k = 0; k < MAXCAT; ++k) put("TAUC", k, st.TAUC(k));
    for (int i = 1; i <= job.NITEM; ++i) {
        put("DELTA", i, st.DELTA(i));
        put("ALPHA", i, st.ALPHA(i));
        put("LAMBDA", i, st.LAMBDA(i));
        for (int k = 0; k < job.NCAT(i); ++k) put("TAU", i * 100 + k, st.TAU(i, k));
        put("DSTD", i, st.DSTD(i));
        put("ASTD", i, st.ASTD(i));
        put("LSTD", i, st.LSTD(i));
        put("CORRDA", i, st.CORRDA(i));
        for (int k = 0; k < job.NCAT(i); ++k) put("TAUSTD", i * 100 + k, st.TAUSTD(i, k));
    }
    for (int q = 1; q <= job.NQUAD; ++q) put("DENS", q, st.DENS(q));
    for (int j = 1; j <= job.NSUBJ; ++j) {
        put("THETA", j, st.THETA(j));
        put("TSTD", j, st.TSTD(j));
    }
    return out;
}

struct Outputs {
    std::string item_file, person_file, exact, status;
    std::string report, fit_report, fit_groups, plots;  // of the run with plots and fit statistics
};

// The answers that follow the job's last line but two when it asks for plots
// (10 groups of estimates, 20 of theta minus delta) and fit statistics (10
// groups, every respondent printed, the default cut-offs and levels).
const std::vector<std::string> kPlotsAndFit{"Y", "10", "20", "Y", "10", "Y", "2.0", "0.05", "2.0", "0.01", "2.0"};

// The lines of a report that name the moment of the run, and the folders
// whose names differ from run to run and checkout to checkout, left out or
// named by what they stand for.
std::string without_time_and_place(const std::string& text, const std::string& work) {
    std::string out;
    bool elapsed = false;
    for (std::string line : split_lines(text)) {
        if (line.find("TODAY'S DATE:") != std::string::npos || line.find("COMPLETED AT DATE:") != std::string::npos)
            line = "<the date and time>";
        if (elapsed) line = "<the seconds>";
        elapsed = line == "  This analysis required ";
        for (const auto& [folder, name] :
             {std::pair{work, std::string("<work>/")}, std::pair{source_dir() + "/", std::string("<source>/")}}) {
            const std::size_t at = line.find(folder);
            // A path's field is padded to its width: the blanks go with the path.
            if (at != std::string::npos) line = line.substr(0, at) + name + trim_right(line.substr(at + folder.size()));
        }
        out += line + "\n";
    }
    return out;
}

// Every plot file of the folder in name order, each after a line naming it.
std::string plot_files_of(const TempDir& work) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(work.path()))
        if (e.path().filename().string().rfind("PLOT", 0) == 0)
            files[e.path().filename().string()] = read_file(e.path().string());
    std::string out;
    for (const auto& [name, text] : files) out += "==> " + name + " <==\n" + text;
    return out;
}

// Runs the job in-process with a fixed clock (so the parameter files' stamps
// are fixed too), a store from zeroed memory as the program takes it, and the
// given workspace; the job file's data line is pointed at `datfile`, and its
// last two answers are replaced by `last` when given.
Outputs run_job(const std::string& cmdfile, const std::string& datfile, Workspace& ws,
                const std::vector<std::string>& last = {}) {
    TempDir work;
    std::vector<std::string> lines = split_lines(read_file(cmdfile));
    for (std::string& l : lines)
        if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.at(4) = datfile;
    if (!last.empty()) {
        lines.resize(lines.size() - 2);
        lines.insert(lines.end(), last.begin(), last.end());
    }
    write_file(work.file("job.txt"), crlf(lines));

    fixed_clock(2026, 12, 9, 10, 11, 12);
    numlib_reset();
    auto job = std::make_unique<JobSettings>();
    ZeroedBlock<Store> st;
    std::ostringstream con;
    std::istringstream in;
    int rc;
    {
        Io io(con, in);
        rc = VORMRUN({"VORMCALC", work.file("job.txt"), work.folder()}, io, *job, *st, ws);
    }
    numlib_set_console(nullptr);
    set_clock({});
    EXPECT_EQ(rc, 0) << con.str();
    Outputs o;
    o.item_file = read_file(work.file("FT16F001"));
    o.person_file = read_file(work.file("FT17F001"));
    o.exact = exact_results(*job, *st);
    o.status = read_file(work.file("status"));
    if (!last.empty()) {
        o.report = without_time_and_place(read_file(work.file("FT06F001")), work.folder());
        o.fit_report = without_time_and_place(read_file(work.file("FT15F001")), work.folder());
        o.fit_groups = read_file(work.file("FT18F001"));
        o.plots = plot_files_of(work);
    }
    return o;
}

void expect_same_text(const std::string& actual, const std::string& expected_file) {
    const char* out = std::getenv("VORM_WRITE_REFERENCE");
    if (out != nullptr) {
        const std::string path = std::string(out) + "/" + expected_file;
        write_file(path, actual);
        ADD_FAILURE() << "VORM_WRITE_REFERENCE is set: " << path
                      << (read_file(path) == actual ? " was written" : " could not be written")
                      << " and not compared with " << reference_dir() << expected_file;
        return;
    }
    const std::string expected = read_file(reference_dir() + expected_file);
    expect_same_lines(split_lines(actual), split_lines(expected));
    EXPECT_TRUE(actual == expected) << expected_file << " differs from the text it was compared with";
}

void check(const std::string& name, const std::string& cmdfile, const std::string& datfile,
           const std::string& status = " end\n") {
    SCOPED_TRACE(name);
    ZeroedBlock<Workspace> ws;
    const Outputs o = run_job(cmdfile, datfile, *ws);
    EXPECT_EQ(o.status, status);
    expect_same_text(o.item_file, name + ".FT16");
    expect_same_text(o.person_file, name + ".FT17");
    expect_same_text(o.exact, name + ".EXACT");

    ZeroedBlock<Workspace> ws_all;
    const Outputs all = run_job(cmdfile, datfile, *ws_all, kPlotsAndFit);
    EXPECT_EQ(all.status, o.status);
    EXPECT_TRUE(all.item_file == o.item_file) << "the parameter files are written before the plot and fit stages";
    EXPECT_TRUE(all.person_file == o.person_file);
    expect_same_text(all.report, name + ".FT06");
    expect_same_text(all.fit_report, name + ".FT15");
    expect_same_text(all.fit_groups, name + ".FT18");
    expect_same_text(all.plots, name + ".PLOTS");
}

TEST(ReferenceResults, ExampleJobIsUnchangedBitForBit) {
    const std::string ex = source_dir() + "/examples/";
    check("EXAMPLE", ex + "EXAMPLE.CMD", ex + "EXAMPLE.DAT");
}

TEST(ReferenceResults, OneJobPerModelIsUnchangedBitForBit) {
    for (int model = 1; model <= 8; ++model) {
        const std::string name = "MODEL" + std::to_string(model);
        // Model 8's job runs to its cycle limit; the completed run says so below " end".
        check(name, reference_dir() + name + ".CMD", reference_dir() + name + ".DAT",
              model == 8 ? " end\n  MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n" : " end\n");
    }
}

// A run leaves nothing behind that the next one reads: a job gives the same
// bits in a workspace that other jobs (one of them ending at its cycle limit)
// have used before.
TEST(ReferenceResults, JobGivesTheSameBitsInAWorkspaceUsedBefore) {
    auto job_file = [](int model) { return reference_dir() + "MODEL" + std::to_string(model) + ".CMD"; };
    auto data_file = [](int model) { return reference_dir() + "MODEL" + std::to_string(model) + ".DAT"; };
    auto ws = std::make_unique<Workspace>();
    const Outputs first = run_job(job_file(5), data_file(5), *ws);
    run_job(job_file(8), data_file(8), *ws);
    run_job(job_file(2), data_file(2), *ws);
    const Outputs again = run_job(job_file(5), data_file(5), *ws);
    EXPECT_EQ(again.exact, first.exact);
    EXPECT_EQ(again.item_file, first.item_file);
}

}  // namespace
}  // namespace vorm::test
