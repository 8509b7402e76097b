// Helpers shared by the whole test suite.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vorm::test {

// Relative error with an absolute floor near zero; NaN equals NaN and
// infinities are equal by sign.  On failure the message shows both values and
// the relative error.
::testing::AssertionResult near_rel(double actual, double expected, double rel_tol, double abs_floor = 1e-300);
#define EXPECT_NEAR_REL(actual, expected, rel, ...) \
    EXPECT_TRUE(::vorm::test::near_rel((actual), (expected), (rel)__VA_OPT__(, ) __VA_ARGS__))

// A fresh empty folder, removed with everything in it when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The folder as a work-folder argument, ending in '/'.
    std::string folder() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);
std::vector<std::string> split_lines(const std::string& text);

// Runs the built VORMCALC with the arguments in `cwd`, feeding `input` to its
// standard input; returns the exit status and fills *console with its output.
int run_engine(const std::vector<std::string>& args, const std::string& cwd, const std::string& input,
               std::string* console = nullptr);

std::string source_dir();
std::string test_data_dir();

}  // namespace vorm::test
