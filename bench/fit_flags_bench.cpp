// How often the fit statistics flag items on data that fit the model, so
// that the guide can say how to read the flags and how many fit groups to ask
// for.  No item of such data misfits: every flag is a false alarm.
//
// The shipped example is calibrated by the engine as a user runs it; its
// estimates then stand for the true parameters, and new data sets of as many
// respondents (locations drawn from the standard normal, the engine's prior)
// are simulated from them with the simulator of tools/simulate, which
// evaluates the model on its own.  Each data set is run by the engine from a
// job file, as VORMCALC runs it: the same job as the example's with fit
// statistics and the default cut-offs of the fit pages (item t 2.576, item
// alpha 0.01), once for every number of fit groups below.  So every figure
// comes from estimates of the same data, as a user's do, not from the true
// parameters.
//
// Printed, over all items of all data sets: the mean item INFIT and OUTFIT;
// the share of items whose STDINF or STDOUTF lies below -2.576 (overfit,
// ***), above 2.576 (underfit, ***), or whose chi-square probability is at or
// below 0.01 (+++); and, per number of fit groups, the share of items whose
// G**2 has a probability at or below 0.01.  The example's own data, which
// were simulated from known parameters, are shown beside them.
//
// Run (Release build):
//   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVORM_BENCH=ON
//   cmake --build build --target bench_fit_flags -j4
//   build/bench/bench_fit_flags [folder [data-sets]]
// The folder to write in defaults to the system's temporary folder; the
// default is 40 data sets (200 runs of the example's size, some seconds).  A run
// whose status does not begin with " end" fails the benchmark (exit status 1).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/Vormrun.h"
#include "fresh_folders.h"
#include "model/Traits.h"
#include "run_state.h"
#include "simulate.h"
#include "text_file.h"

using namespace vorm;
namespace fs = std::filesystem;

namespace {

constexpr int kGroups[] = {2, 3, 5, 10, 20};
constexpr int kGroupCounts = static_cast<int>(std::size(kGroups));
// The Item Fit page's defaults: the cut-offs a user meets unless he changes them.
constexpr double kItemT = 2.576, kItemAlpha = 0.01;

// The example's job with its data file named by `data` (the engine takes a
// relative name from its current folder, not from the job's) and the fit
// statistics asked for with `groups` fit groups and the pages' defaults.
std::string job_with_fit(const std::string& example_job, const std::string& data, int groups) {
    std::istringstream in(example_job);
    std::string text, line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n == 5) line = data;  // the data file stands fifth in every job
        if (line.rfind("N ", 0) == 0 && line.find("fit statistics") != std::string::npos) {
            char block[400];
            std::snprintf(block, sizeof block,
                          "Y             fit statistics\r\n%-13d fit groups\r\nN             print all persons\r\n"
                          "%-13.3f item t cutoff\r\n%-13.2f item chi-square alpha\r\n3.291         person t cutoff\r\n"
                          "0.001         person alpha\r\n2.576         localized cutoff",
                          groups, kItemT, kItemAlpha);
            line = block;
        }
        text += line + "\r\n";
    }
    return text;
}

struct Tally {
    int items = 0;
    double infit = 0.0, outfit = 0.0;
    int over_in = 0, under_in = 0, over_out = 0, under_out = 0, over_any = 0, plus_in = 0, plus_out = 0;
    int g2[kGroupCounts] = {};
    double share(int count) const { return items > 0 ? 100.0 * count / items : 0.0; }
};

// One run of the job `text` in a new folder below `dir`; the state stays for
// the caller to read.
std::unique_ptr<bench::RunState> run_job(const std::string& text, const fs::path& dir, const std::string& name) {
    const fs::path folder = dir / name;
    fs::create_directories(folder);
    std::ofstream(folder / "JOB.CMD", std::ios::binary) << text;
    auto r = std::make_unique<bench::RunState>();
    Io io(r->con, r->in);
    const int code =
        VORMRUN({"VORMCALC", (folder / "JOB.CMD").string(), folder.string() + "/"}, io, *r->job, *r->st, *r->ws);
    // A completed run's warnings (a cycle limit reached) follow " end".
    if (code != 0 || !bench::read_file(folder / "status").starts_with(" end\n")) {
        std::printf("the run %s failed:\n%s", name.c_str(), r->con.str().c_str());
        std::exit(1);
    }
    fs::remove_all(folder);
    return r;
}

// The mean squares and their flags do not depend on the fit groups: they are
// counted from the first run of a data set only.
void count_mean_squares(const bench::RunState& r, Tally& t) {
    for (int i = 1; i <= r.job->NITEM; ++i) {
        const FitStatistics& f = r.ws->fit.ITEMFIT(i);
        ++t.items;
        t.infit += f.infit;
        t.outfit += f.outfit;
        t.over_in += f.t_in < -kItemT;
        t.under_in += f.t_in > kItemT;
        t.over_out += f.t_out < -kItemT;
        t.under_out += f.t_out > kItemT;
        t.over_any += f.t_in < -kItemT || f.t_out < -kItemT;
        t.plus_in += f.p_in <= static_cast<float>(kItemAlpha);
        t.plus_out += f.p_out <= static_cast<float>(kItemAlpha);
    }
}

// Every number of fit groups on one data set.
void fit_flags(const std::string& example_job, const fs::path& data, const fs::path& dir, const std::string& name,
               Tally& t) {
    for (int g = 0; g < kGroupCounts; ++g) {
        const auto r =
            run_job(job_with_fit(example_job, data.string(), kGroups[g]), dir, name + "_" + std::to_string(kGroups[g]));
        if (g == 0) count_mean_squares(*r, t);
        for (int i = 1; i <= r->job->NITEM; ++i) t.g2[g] += r->ws->fit.ITEMLR(i).p <= static_cast<float>(kItemAlpha);
    }
}

// The example's estimates as the simulator's items.
std::vector<vormsim::Item> estimated_items(const bench::RunState& r) {
    const JobSettings& job = *r.job;
    const Store& st = *r.st;
    const ModelTraits m = model_traits(job.MODEL);
    std::vector<vormsim::Item> items;
    for (int i = 1; i <= job.NITEM; ++i) {
        vormsim::Item it;
        it.K = job.NCAT(i);
        it.delta = st.DELTA(i);
        it.alpha = m.discrimination ? st.ALPHA(i) : 1.0;
        it.lambda = m.common ? st.UNIT : st.LAMBDA(i);
        for (int k = 0; k < it.K; ++k) it.tau.push_back(m.common ? st.TAUC(k) : st.TAU(i, k));
        items.push_back(it);
    }
    return items;
}

void print(const char* what, const Tally& t) {
    std::printf("%s: %d items\n", what, t.items);
    std::printf("  mean INFIT %.3f, mean OUTFIT %.3f\n", t.infit / t.items, t.outfit / t.items);
    std::printf("  STDINF  below -%.3f: %5.1f %%, above %.3f: %5.1f %%\n", kItemT, t.share(t.over_in), kItemT,
                t.share(t.under_in));
    std::printf("  STDOUTF below -%.3f: %5.1f %%, above %.3f: %5.1f %%\n", kItemT, t.share(t.over_out), kItemT,
                t.share(t.under_out));
    std::printf("  overfit (*** below -%.3f) on INFIT or OUTFIT: %5.1f %%\n", kItemT, t.share(t.over_any));
    std::printf("  +++ (P <= %.2f): INFIT %5.1f %%, OUTFIT %5.1f %%\n", kItemAlpha, t.share(t.plus_in),
                t.share(t.plus_out));
    std::printf("  G**2 with P <= %.2f, by fit groups:", kItemAlpha);
    for (int g = 0; g < kGroupCounts; ++g) std::printf("  %d: %5.1f %%", kGroups[g], t.share(t.g2[g]));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int sets = argc > 2 ? std::atoi(argv[2]) : 40;
    if (sets < 1) {
        std::fprintf(stderr, "usage: bench_fit_flags [folder [data-sets]]\n");
        return 2;
    }
    const fs::path dir = bench::bench_folder(argc, argv, "vorm_fit_flags_bench");
    fs::create_directories(dir);
    const fs::path examples(VORM_EXAMPLES_DIR);
    const std::string example_job = bench::read_file(examples / "EXAMPLE.CMD");
    const fs::path example_data = examples / "EXAMPLE.DAT";

    Tally example;
    fit_flags(example_job, example_data, dir, "example", example);
    const auto calibration = run_job(job_with_fit(example_job, example_data.string(), kGroups[0]), dir, "estimates");

    vormsim::Design design;
    design.model = calibration->job->MODEL;
    design.items = estimated_items(*calibration);
    // As many respondents as the example's records, before its clean-up.
    design.nsubj = 0;
    std::istringstream records(bench::read_file(example_data));
    for (std::string line; std::getline(records, line);) design.nsubj += !line.empty();
    const int nitem = static_cast<int>(design.items.size());
    // The simulated records must be read with the example's own format.
    if (example_job.find("\n" + vormsim::data_format(nitem, 1) + "\r\n") == std::string::npos) {
        std::printf("the example's format is not the simulator's %s\n", vormsim::data_format(nitem, 1).c_str());
        return 1;
    }

    Tally simulated;
    for (int s = 1; s <= sets; ++s) {
        design.seed = 5000 + static_cast<std::uint64_t>(s);
        const fs::path data = dir / ("SIM" + std::to_string(s) + ".DAT");
        std::ofstream(data, std::ios::binary) << vormsim::data_text(vormsim::simulate(design), 1);
        fit_flags(example_job, data, dir, "set" + std::to_string(s), simulated);
        fs::remove(data);
    }

    std::printf("model %d, %d records of %d items; item t cut-off %.3f, item alpha %.2f\n", design.model, design.nsubj,
                nitem, kItemT, kItemAlpha);
    print("the example's own data", example);
    char what[120];
    std::snprintf(what, sizeof what, "%d data sets simulated from the example's estimates", sets);
    print(what, simulated);
    fs::remove_all(dir);
    return 0;
}
