// Times the whole plot stage at the capacities of the store: 100 items of 10
// categories, 2000 respondents, 20 theta groups and 2000 theta-delta groups,
// writing into fresh folders below the given folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/io.h"
#include "driver/Vormrun.h"
#include "simulated_job.h"

using namespace vorm;

namespace {

using Clock = std::chrono::steady_clock;

double run(int model, const std::filesystem::path& dir) {
    auto job = std::make_unique<JobSettings>();
    auto st = std::make_unique<Store>();
    test::fill_simulated(*job, *st, model, std::vector<int>(100, 10), 2000, 0.05, 7);
    job->NTHGRP = 20;
    job->NTDGRP = 2000;
    std::ostringstream con;
    std::istringstream in;
    Io io(con, in);
    auto work = std::make_unique<PlotWork>();
    std::vector<double> times;
    for (int rep = 0; rep < 7; ++rep) {
        // A new folder each time: the front end empties the work folder before a run.
        const std::filesystem::path folder = dir / ("model" + std::to_string(model) + "_" + std::to_string(rep));
        std::filesystem::create_directories(folder);
        job->WRKDIR = folder.string() + "/";
        auto copy = std::make_unique<Store>(*st);  // the stage fills in parameters of the store
        auto t0 = Clock::now();
        plot_files(io, *job, *copy, *work);
        times.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

// Argument 1: the folder to write in (default: the system's temporary folder).
int main(int argc, char** argv) {
    const std::filesystem::path base =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::filesystem::path dir = base / "vorm_plot_bench";
    std::filesystem::remove_all(dir);
    for (int model : {8, 2}) {
        const double t = run(model, dir);
        std::printf("plot stage, model %d (2000 x 100, 10 categories, 20 + 2000 groups): %.3f s (median of 7)\n", model,
                    t);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
