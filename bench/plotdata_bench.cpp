// Times the whole plot stage at the capacities of the store: 100 items of 10
// categories, 2000 respondents, 20 theta groups and 2000 theta-delta groups,
// writing into fresh folders below the given folder.
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/io.h"
#include "driver/Vormrun.h"
#include "fresh_folders.h"
#include "simulated_job.h"

using namespace vorm;

namespace {

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
    return bench::median_in_fresh_folders(dir, "model" + std::to_string(model), *st,
                                          [&](const std::string& folder, Store& copy) {
                                              job->WRKDIR = folder;
                                              const FittedModel fm = fitted_model(*job, copy);
                                              auto t0 = std::chrono::steady_clock::now();
                                              plot_files(io, *job, fm, *work);
                                              return bench::seconds_since(t0);
                                          });
}

}  // namespace

// Argument 1: the folder to write in (default: the system's temporary folder).
int main(int argc, char** argv) {
    const std::filesystem::path dir = bench::bench_folder(argc, argv, "vorm_plot_bench");
    for (int model : {8, 2}) {
        const double t = run(model, dir);
        std::printf("plot stage, model %d (2000 x 100, 10 categories, 20 + 2000 groups): %.3f s (median of 7)\n", model,
                    t);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
