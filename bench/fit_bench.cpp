// Times the whole fit analysis at the capacities of the store (2000
// respondents, 100 items of 10 categories, 50 quadrature points) and at a
// realistic size, with 20 fit groups and every respondent printed, writing
// its files into fresh folders below the given folder as a run does.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/io.h"
#include "driver/Workspace.h"
#include "simulated_job.h"
#include "statistics/Diamml2.h"

using namespace vorm;

namespace {

using Clock = std::chrono::steady_clock;

struct Size {
    const char* name;
    int nsubj, nitem, ncat, nquad, model;
};

double run(const Size& z, const std::filesystem::path& dir) {
    auto job = std::make_unique<JobSettings>();
    auto st = std::make_unique<Store>();
    test::fill_simulated(*job, *st, z.model, std::vector<int>(static_cast<std::size_t>(z.nitem), z.ncat), z.nsubj, 0.05,
                         7);
    job->NQUAD = z.nquad;
    job->IFITAN = 1;
    job->NFITG = 20;
    job->IPRALL = 1;
    job->ITTCUT = job->PSTCUT = job->PSLCUT = 2.0;
    job->ITALPH = job->PSALPH = 0.05;
    auto ws = std::make_unique<Workspace>();
    std::vector<double> times;
    for (int rep = 0; rep < 7; ++rep) {
        const std::filesystem::path folder = dir / (std::string(z.name) + "_" + std::to_string(rep));
        std::filesystem::create_directories(folder);
        std::ostringstream con;
        std::istringstream in;
        Io io(con, in);
        io.units.open_in_folder(folder.string() + "/", nullptr);
        auto copy = std::make_unique<Store>(*st);  // the analysis rewrites parameters of the store
        auto t0 = Clock::now();
        DIAMML2(io, *job, *copy, ws->fit, ws->ptab);
        io.units.close_all();
        times.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
        if (con.str().find("ITMAX") != std::string::npos)
            std::printf("  iteration limit reached: %s\n", con.str().c_str());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

// Argument 1: the folder to write in (default: the system's temporary folder).
int main(int argc, char** argv) {
    const std::filesystem::path base =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::filesystem::path dir = base / "vorm_fit_bench";
    std::filesystem::remove_all(dir);
    for (const Size& z : {Size{"largest", 2000, 100, 10, 50, 8}, Size{"largest", 2000, 100, 10, 50, 2},
                          Size{"realistic", 1000, 20, 6, 30, 8}}) {
        const double t = run(z, dir);
        std::printf("fit analysis, %s (%d x %d, %d categories, %d points, model %d): %.4f s (median of 7)\n", z.name,
                    z.nsubj, z.nitem, z.ncat, z.nquad, z.model, t);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
