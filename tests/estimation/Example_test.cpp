// The shipped example job run by the built program, through estimation and
// person estimates.
#include <filesystem>
#include <string>

#include "test_support.h"

namespace vorm::test {
namespace {

TEST(ExampleJob, RunsThroughEstimationAndEndsNormally) {
    TempDir dir;
    const std::string ex = source_dir() + "/examples/";
    for (const char* f : {"EXAMPLE.CMD", "EXAMPLE.DAT"}) std::filesystem::copy_file(ex + f, dir.file(f));
    std::string console;
    const int rc = run_engine({"EXAMPLE.CMD", dir.folder()}, dir.path().string(), "", &console);
    EXPECT_EQ(rc, 0) << console;
    EXPECT_EQ(read_file(dir.file("status")), " end\n");
    const std::string rep = read_file(dir.file("FT06F001"));
    // Model 8 with constant categories and no constraint: models 3 and 4 first.
    EXPECT_NE(rep.find(" ITERATIONS REQUIRED IN START-UP WITH MODEL 3\n"), std::string::npos);
    EXPECT_NE(rep.find(" ITERATIONS REQUIRED IN START-UP WITH MODEL 4\n"), std::string::npos);
    EXPECT_NE(rep.find("  MML ITEM SOLUTIONS CRITERION MET AFTER "), std::string::npos);
    EXPECT_NE(rep.find("  QUADRATURE POINT  DENSITY\n"), std::string::npos);
    EXPECT_EQ(rep.find("NaN"), std::string::npos);
    EXPECT_NE(console.find("  ESTIMATING THETAS"), std::string::npos);
}

}  // namespace
}  // namespace vorm::test
