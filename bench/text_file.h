// A whole file as bytes, for the benchmarks that compare or edit what a run
// reads and writes: line ends and all are kept, so a comparison is exact.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vorm::bench {

inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vorm::bench
