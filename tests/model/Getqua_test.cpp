#include "model/Getqua.h"

#include <cmath>
#include <stdexcept>

#include "test_support.h"

namespace vorm::test {
namespace {

struct Grid {
    QuadReals x, w;
    double mean = -1.0, sd = -1.0;
};

TEST(Getqua, RejectsMorePointsThanTheStoreHolds) {
    Grid g;
    EXPECT_THROW(GETQUA(g.x, g.w, g.mean, 51, g.sd), std::invalid_argument);
}

TEST(Getqua, NoPointsLeavesGridAndZeroesMoments) {
    Grid g;
    g.x.fill(9.0);
    g.w.fill(9.0);
    GETQUA(g.x, g.w, g.mean, 0, g.sd);
    EXPECT_EQ(g.x(1), 9.0);
    EXPECT_EQ(g.w(1), 9.0);
    EXPECT_EQ(g.mean, 0.0);
    EXPECT_EQ(g.sd, 0.0);
}

TEST(Getqua, OnePointIsTheCentreWithWeightOne) {
    Grid g;
    GETQUA(g.x, g.w, g.mean, 1, g.sd);
    EXPECT_EQ(g.x(1), 0.0);
    EXPECT_EQ(g.w(1), 1.0);
    EXPECT_EQ(g.mean, 0.0);
    EXPECT_EQ(g.sd, 0.0);
}

TEST(Getqua, TwoAndThreePointsHaveTheirClosedForms) {
    Grid g;
    GETQUA(g.x, g.w, g.mean, 2, g.sd);
    EXPECT_EQ(g.x(1), -4.0);
    EXPECT_EQ(g.x(2), 4.0);
    EXPECT_NEAR_REL(g.w(1), 0.5, 1e-15);  // w * (1 / (2 w))
    EXPECT_NEAR_REL(g.w(2), 0.5, 1e-15);
    EXPECT_EQ(g.mean, 0.0);
    EXPECT_NEAR_REL(g.sd, 4.0, 1e-15);

    GETQUA(g.x, g.w, g.mean, 3, g.sd);
    const double e = std::exp(-8.0), S = 1.0 + 2.0 * e;
    EXPECT_EQ(g.x(1), -4.0);
    EXPECT_EQ(g.x(2), 0.0);
    EXPECT_EQ(g.x(3), 4.0);
    EXPECT_NEAR_REL(g.w(1), e / S, 1e-15);
    EXPECT_NEAR_REL(g.w(2), 1.0 / S, 1e-15);
    EXPECT_NEAR_REL(g.w(3), e / S, 1e-15);
    EXPECT_NEAR(g.mean, 0.0, 1e-16);
    EXPECT_NEAR_REL(g.sd, std::sqrt(32.0 * e / S), 1e-15);
}

TEST(Getqua, FiftyPointsAreEvenSymmetricNormalWeights) {
    Grid g;
    GETQUA(g.x, g.w, g.mean, 50, g.sd);
    long double S = 0, var = 0, sum = 0;
    for (int k = 1; k <= 50; ++k) S += std::exp(-0.5L * (g.x(k) * (long double)g.x(k)));
    for (int k = 1; k <= 50; ++k) {
        const long double xk = -4.0L + 8.0L * (k - 1) / 49.0L;
        EXPECT_NEAR(g.x(k), (double)xk, 1e-15);
        EXPECT_NEAR_REL(g.w(k), (double)(std::exp(-0.5L * xk * xk) / S), 1e-14);
        // Mirrored points differ by rounding, which exp(-x^2 / 2) scales by up to 4 x.
        EXPECT_NEAR_REL(g.w(k), g.w(51 - k), 1e-14);
        var += g.w(k) * xk * xk;
        sum += g.w(k);
    }
    EXPECT_EQ(g.x(1), -4.0);
    EXPECT_NEAR(g.x(50), 4.0, 1e-15);  // 49 * (8 / 49) - 4
    EXPECT_NEAR((double)sum, 1.0, 1e-15);
    EXPECT_NEAR(g.mean, 0.0, 1e-15);
    EXPECT_NEAR_REL(g.sd, (double)std::sqrt(var), 1e-14);
}

}  // namespace
}  // namespace vorm::test
