// The theta grid and the top of the share axes.
#include "plotdata/Plotpair.h"

#include "test_support.h"

namespace vorm::test {
namespace {

TEST(PlotPair, GridStepsByTheSinglePrecisionTenth) {
    const auto& x = theta_grid();
    EXPECT_EQ(x[0], -4.0);
    // 80 steps of 0.100000001490116... end above 4: a step of the double 0.1 would not.
    EXPECT_NEAR(x[80], 4.0000001192092896, 1e-13);
    for (int k = 0; k < NGRID; ++k) {
        char want[16];
        std::snprintf(want, sizeof want, "%8.3f", (k - 40) / 10.0);
        EXPECT_EQ(field("(F8.3)", x[k]), want) << k;
    }
}

TEST(PlotPair, TopOfShareAxisIsTheNextTwentiethAboveTheLargestShare) {
    const struct {
        double p;
        const char* top;
    } cases[] = {{0.25, "0.30"}, {0.26, "0.30"}, {0.04, "0.05"}, {0.0, "0.05"}, {0.95, "1.00"}, {1.0, "1.05"}};
    for (const auto& c : cases) EXPECT_EQ(field("(F4.2)", plot_top(c.p)), c.top) << c.p;
}

}  // namespace
}  // namespace vorm::test
