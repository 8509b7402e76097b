// Times the whole fit analysis at the capacities of the store (2000
// respondents, 100 items of 10 categories, 50 quadrature points) and at a
// realistic size, with 20 fit groups and every respondent printed, writing
// its files into fresh folders below the given folder as a run does.
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/io.h"
#include "driver/Workspace.h"
#include "fresh_folders.h"
#include "simulated_job.h"
#include "statistics/Diamml2.h"

using namespace vorm;

namespace {

struct Size {
    const char* name;
    int nsubj, nitem, ncat, nquad, model;
    double missing;  // share of the responses missing
};

double run(const Size& z, const std::filesystem::path& dir) {
    auto job = std::make_unique<JobSettings>();
    auto st = std::make_unique<Store>();
    test::fill_simulated(*job, *st, z.model, std::vector<int>(static_cast<std::size_t>(z.nitem), z.ncat), z.nsubj,
                         z.missing, 7);
    job->NQUAD = z.nquad;
    job->IFITAN = 1;
    job->NFITG = 20;
    job->IPRALL = 1;
    job->ITTCUT = job->PSTCUT = job->PSLCUT = 2.0;
    job->ITALPH = job->PSALPH = 0.05;
    auto ws = std::make_unique<Workspace>();
    return bench::median_in_fresh_folders(dir, z.name, *st, [&](const std::string& folder, Store& copy) {
        std::ostringstream con;
        std::istringstream in;
        Io io(con, in);
        io.units.open_in_folder(folder, nullptr);
        const FittedModel fm = fitted_model(*job, copy);
        auto t0 = std::chrono::steady_clock::now();
        DIAMML2(io, *job, fm, ws->fit, ws->ptab);
        io.units.close_all();
        const double t = bench::seconds_since(t0);
        if (con.str().find("ITMAX") != std::string::npos) std::printf("  %s", con.str().c_str());
        return t;
    });
}

}  // namespace

// Argument 1: the folder to write in (default: the system's temporary folder).
int main(int argc, char** argv) {
    const std::filesystem::path dir = bench::bench_folder(argc, argv, "vorm_fit_bench");
    // With 5 % of the responses missing the listwise deletion leaves few
    // respondents to the number-correct statistics; without, all of them.
    for (const Size& z : {Size{"largest", 2000, 100, 10, 50, 8, 0.05}, Size{"largest", 2000, 100, 10, 50, 2, 0.05},
                          Size{"realistic", 1000, 20, 6, 30, 8, 0.05}, Size{"largest", 2000, 100, 10, 50, 8, 0.0},
                          Size{"realistic", 1000, 20, 6, 30, 8, 0.0}}) {
        const double t = run(z, dir);
        std::printf(
            "fit analysis, %s (%d x %d, %d categories, %d points, model %d, %g %% missing): %.4f s (median of 7)\n",
            z.name, z.nsubj, z.nitem, z.ncat, z.nquad, z.model, 100 * z.missing, t);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
