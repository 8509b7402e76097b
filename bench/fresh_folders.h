// Timing of a stage that writes files, as a run does: each of 7 runs gets a
// new folder (the front end empties the work folder before a run) and a fresh
// copy of the store (stages write parameters into it); the median is taken.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/Store.h"

namespace vorm::bench {

// The folder below argument 1 (default: the system's temporary folder), emptied.
inline std::filesystem::path bench_folder(int argc, char** argv, const char* name) {
    const std::filesystem::path base =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    std::filesystem::remove_all(base / name);
    return base / name;
}

// `stage(folder, store)` runs once into the folder (ending in '/') and returns
// the seconds it took.
template <class Stage>
double median_in_fresh_folders(const std::filesystem::path& dir, const std::string& name, const Store& st,
                               Stage stage) {
    std::vector<double> times;
    for (int rep = 0; rep < 7; ++rep) {
        const std::filesystem::path folder = dir / (name + "_" + std::to_string(rep));
        std::filesystem::create_directories(folder);
        auto copy = std::make_unique<Store>(st);
        times.push_back(stage(folder.string() + "/", *copy));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace vorm::bench
