// Times one whole run of the engine on the largest job the capacities allow
// (2000 respondents, 100 items of 10 categories, 50 quadrature points, model
// 8, 5 % of the responses missing), from its job file to " end" in the status
// file, with plots (20 theta groups, 2000 theta-delta groups) and fit
// statistics (20 fit groups, every respondent printed); and the same run
// stage by stage, to say where the time goes.  The staged run must write the
// same parameter, fit and plot files as the whole one (the clock is fixed),
// else the benchmark fails (exit status 1): it would not be timing the run.
//
// Argument 1: the folder to write in (default: the system's temporary
// folder).  The job and its data stay in its vorm_run_bench/ for timing the
// program as a whole process.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/io.h"
#include "common/paths.h"
#include "driver/Stages.h"
#include "driver/Vormrun.h"
#include "estimation/Initvl.h"
#include "estimation/Mmlest.h"
#include "fresh_folders.h"
#include "model/Marglike.h"
#include "numlib/Numlib_error.h"
#include "run_state.h"
#include "simulate.h"
#include "statistics/Diamml2.h"
#include "statistics/Stderrc.h"
#include "text_file.h"

using namespace vorm;
namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 5;

// The job as the front end writes it: the value, then its label.
std::string job_text(const std::string& data, const std::string& format) {
    std::string text;
    auto line = [&](const std::string& value, const std::string& label = {}) {
        text += value + std::string(value.size() < 14 ? 14 - value.size() : 1, ' ') + label + "\r\n";
    };
    line("8", "model");
    line("N", "constrain thresholds");
    line("N", "reverse initial signs");
    line("50", "quadrature points");
    text += data + "\r\n" + format + "\r\n";
    for (const char* l : {"100 items",
                          "Y categories constant",
                          "10 categories",
                          "N subtract 1",
                          "Y cutoff constant",
                          "1 cutoff",
                          "N discard items",
                          "N discard subjects",
                          "N specify signs",
                          "50 outer cycles",
                          "10 inner cycles",
                          "10 scoring iterations for thresholds",
                          "10 scoring iterations for items",
                          "0.001 convergence criterion",
                          "Y plots",
                          "20 theta groups",
                          "2000 theta-delta groups",
                          "Y fit statistics",
                          "20 fit groups",
                          "Y print all persons",
                          "2.0 item t cutoff",
                          "0.05 item alpha",
                          "2.0 person t cutoff",
                          "0.05 person alpha",
                          "2.0 localized cutoff"}) {
        const std::string s(l);
        line(s.substr(0, s.find(' ')), s.substr(s.find(' ') + 1));
    }
    return text;
}

fs::path write_job(const fs::path& dir) {
    vormsim::Design design;
    design.model = 8;
    design.items = vormsim::typical_items(8, std::vector<int>(100, 10), 7);
    design.nsubj = 2000;
    design.missing_rate = 0.05;
    design.seed = 8;
    fs::create_directories(dir);
    std::ofstream(dir / "FULL.DAT") << vormsim::data_text(vormsim::simulate(design), 2);
    std::ofstream(dir / "FULL.CMD") << job_text((dir / "FULL.DAT").string(), vormsim::data_format(100, 2));
    return dir / "FULL.CMD";
}

// The program's own road, in process: the seconds from the start to " end".
double whole_run(const fs::path& job, const fs::path& folder) {
    bench::RunState r;
    Io io(r.con, r.in);
    const auto t0 = std::chrono::steady_clock::now();
    const int code = VORMRUN({"VORMCALC", job.string(), folder.string() + "/"}, io, *r.job, *r.st, *r.ws);
    const double t = bench::seconds_since(t0);
    if (code != 0 || !bench::read_file(folder / "status").starts_with(" end\n")) {
        std::printf("the run failed:\n%s", r.con.str().c_str());
        std::exit(1);
    }
    return t;
}

const char* const kStages[] = {"job and data input", "start values",    "estimation", "standard errors",
                               "log-likelihood",     "parameter files", "plots",      "fit analysis"};
constexpr int kStageCount = 8;

// The stages in the run driver's order, each timed; the report's closing
// blocks (a few lines) are left out.
std::vector<double> staged_run(const fs::path& job, const fs::path& folder) {
    bench::RunState r;
    Io io(r.con, r.in);
    JobSettings& j = *r.job;
    Store& st = *r.st;
    Workspace& ws = *r.ws;
    j.CMDFILE = job.string();
    j.WRKDIR = work_folder(folder.string() + "/");
    j.LWRK = static_cast<int>(j.WRKDIR.size());
    numlib_set_console(&io.con);
    io.units.open_in_folder(j.WRKDIR, nullptr);
    std::vector<double> t;
    auto t0 = std::chrono::steady_clock::now();
    auto lap = [&] {
        t.push_back(bench::seconds_since(t0));
        t0 = std::chrono::steady_clock::now();
    };
    ASKIT(io, j);
    MMLDAT(io, j, ws.records);
    READIT(io, j, st);
    CONTIN(io, j, st);
    lap();
    INITVL(io, j, st, ws.start);
    lap();
    MMLEST(io, j, st, ws.estimation, ws.ptab);
    lap();
    STDERRC(io, j, st, ws.stderrs, ws.ptab);
    lap();
    const FittedModel fm = fitted_model(j, st);
    MARGLIKE(io.con, fm, ws.ptab);
    lap();
    WRITIT(io, j, st);
    lap();
    plot_files(io, j, fm, ws.plots);
    lap();
    DIAMML2(io, j, fm, ws.fit, ws.ptab);
    io.units.close_all();
    lap();
    return t;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Every file but the report, the status file and the run's lock (which only
// the whole run takes), byte for byte.
bool same_files(const fs::path& a, const fs::path& b) {
    int compared = 0;
    for (const auto& e : fs::directory_iterator(a)) {
        const std::string name = e.path().filename().string();
        if (name == "FT06F001" || name == "status" || name == "VORMCALC.lock") continue;
        if (bench::read_file(e.path()) != bench::read_file(b / name)) {
            std::printf("%s differs between the whole run and the staged run\n", name.c_str());
            return false;
        }
        ++compared;
    }
    return compared > 800;  // the plot files alone are about 830
}

}  // namespace

int main(int argc, char** argv) {
    set_clock([] {
        ClockReading r;
        r.year = 2026, r.month = 1, r.day = 2, r.hour = 3, r.minute = 4, r.second = 5;
        return r;
    });
    const fs::path dir = bench::bench_folder(argc, argv, "vorm_run_bench");
    const fs::path job = write_job(dir);
    std::vector<double> whole;
    std::vector<std::vector<double>> stages(kStageCount);
    std::vector<double> sums;
    for (int rep = 0; rep < kRuns; ++rep) {
        const fs::path a = dir / ("whole_" + std::to_string(rep)), b = dir / ("staged_" + std::to_string(rep));
        fs::create_directories(a);
        fs::create_directories(b);
        whole.push_back(whole_run(job, a));
        const std::vector<double> t = staged_run(job, b);
        double sum = 0.0;
        for (int s = 0; s < kStageCount; ++s) {
            stages[static_cast<std::size_t>(s)].push_back(t[static_cast<std::size_t>(s)]);
            sum += t[static_cast<std::size_t>(s)];
        }
        sums.push_back(sum);
        if (!same_files(a, b)) return 1;
        fs::remove_all(a);
        fs::remove_all(b);
    }
    std::printf(
        "whole run, job file to \" end\" (2000 x 100, 10 categories, 50 points, model 8, plots and fit): "
        "%.3f s (median of %d)\n",
        median(whole), kRuns);
    for (int s = 0; s < kStageCount; ++s)
        std::printf("  %-20s %.3f s\n", kStages[s], median(stages[static_cast<std::size_t>(s)]));
    std::printf("  %-20s %.3f s\n", "stages together", median(sums));
    std::printf("job kept for timing the program: %s\n", job.string().c_str());
    return 0;
}
