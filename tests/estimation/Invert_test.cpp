#include "estimation/Invert.h"

#include <cmath>
#include <sstream>

#include "common/stop.h"
#include "estimation/Dmult.h"
#include "test_support.h"

namespace vorm::test {
namespace {

// Gauss-Jordan on order <= 4 with moderate conditioning: a few hundred ulp.
constexpr double kRel = 1e-12;

TEST(Invert, FailedPivotIsReportedTwiceSkippedAndTheRestStillInverted) {
    std::ostringstream con;
    double a[4] = {0, 0, 0, 2};  // rows (0, 0) and (0, 2), column-major
    double inv[4] = {-1, -1, -1, -1};
    int ier = -5;
    INVERT(con, a, inv, 2, 2, ier);
    EXPECT_EQ(ier, 29);
    EXPECT_EQ(con.str(),
              "  ERROR ON INVERSION!!!!!!!!!!!!!!!\n  TOLERANCE = NaN\n"
              "  ERROR ON INVERSION!!!!!!!!!!!!!!!\n  TOLERANCE = NaN\n");
    EXPECT_EQ(inv[0], 1.0);
    EXPECT_EQ(inv[1], 0.0);
    EXPECT_EQ(inv[2], 0.0);
    EXPECT_EQ(inv[3], 0.5);
}

// A matrix holding a NaN or an infinity has no inverse, wherever it stands:
// reported as a failed inversion, with a result from which no step is taken.
TEST(Invert, MatrixHoldingNaNOrInfinityFailsAndGivesNoInverse) {
    const double bad[] = {std::nan(""), INFINITY, -INFINITY};
    for (double x : bad)
        for (int at = 0; at < 4; ++at) {
            SCOPED_TRACE("value " + std::to_string(x) + " at " + std::to_string(at));
            std::ostringstream con;
            double a[4] = {4, 1, 1, 3};
            a[at] = x;
            double inv[4] = {7, 7, 7, 7};
            int ier = 0;
            INVERT(con, a, inv, 2, 2, ier);
            EXPECT_EQ(ier, 29);
            EXPECT_EQ(con.str(),
                      "  ERROR ON INVERSION!!!!!!!!!!!!!!!\n  TOLERANCE = NaN\n"
                      "  ERROR ON INVERSION!!!!!!!!!!!!!!!\n  TOLERANCE = NaN\n");
            for (double v : inv) EXPECT_TRUE(std::isnan(v));
        }
}

TEST(Invert, PivotIsJudgedRelativeToItsOwnDiagonalElement) {
    // Rows (1, 1) and (1, D): the second pivot is D - 1 against the input
    // diagonal D, so the test sees (D - 1) / D whatever the scale of D.
    auto second_pivot_fails = [](double D, double scale) {
        std::ostringstream con;
        double a[4] = {scale, scale, scale, scale * D};
        double inv[4];
        int ier = 0;
        INVERT(con, a, inv, 2, 2, ier);
        return ier == 29;
    };
    for (double scale : {1e-200, 1.0, 1e200}) {
        EXPECT_FALSE(second_pivot_fails(1.0 + 2e-8, scale));   // ratio 2e-8
        EXPECT_TRUE(second_pivot_fails(1.0 + 0.5e-8, scale));  // ratio 0.5e-8
        EXPECT_TRUE(second_pivot_fails(1.0, scale));           // exactly singular
    }
}

TEST(Invert, OrderZeroLeavesResultUntouchedAndOrderAboveCapacityIsRefused) {
    std::ostringstream con;
    double a[1] = {4.0}, inv[1] = {-3.0};
    int ier = 7;
    INVERT(con, a, inv, 0, 1, ier);
    EXPECT_EQ(ier, 0);
    EXPECT_EQ(inv[0], -3.0);
    INVERT(con, a, inv, 1, 1, ier);
    EXPECT_EQ(ier, 0);
    EXPECT_EQ(inv[0], 0.25);
    double big[12 * 12] = {};
    double bigi[12 * 12] = {};
    INVERT(con, big, bigi, 12, 12, ier);
    EXPECT_EQ(ier, 29);
}

TEST(Invert, IdentityDiagonalAndHilbertMatrixWithLeadingDimensionNine) {
    std::ostringstream con;
    int ier = -1;
    double id[9 * 3] = {}, idi[9 * 3] = {};
    for (int k = 0; k < 3; ++k) id[k + 9 * k] = 1.0;
    INVERT(con, id, idi, 3, 9, ier);
    EXPECT_EQ(ier, 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(idi[i + 9 * j], i == j ? 1.0 : 0.0);

    double d[4] = {4.0, 0.0, 0.0, 0.5}, di[4];
    INVERT(con, d, di, 2, 2, ier);
    EXPECT_EQ(di[0], 0.25);
    EXPECT_EQ(di[3], 2.0);
    EXPECT_EQ(di[1], 0.0);

    // Hilbert 4 x 4 has the exact integer inverse below.
    double h[9 * 4] = {}, hi[9 * 4] = {};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) h[i + 9 * j] = 1.0 / (i + j + 1);
    const double exact[4][4] = {
        {16, -120, 240, -140}, {-120, 1200, -2700, 1680}, {240, -2700, 6480, -4200}, {-140, 1680, -4200, 2800}};
    INVERT(con, h, hi, 4, 9, ier);
    EXPECT_EQ(ier, 0);
    // Condition number about 1.5e4: allow that many times the base tolerance.
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR_REL(hi[i + 9 * j], exact[i][j], 1.5e4 * kRel);
    EXPECT_TRUE(con.str().empty());
}

TEST(Dmult, NonConformableSizesPrintTheMessageAndStop) {
    std::ostringstream con;
    double a[6] = {}, b[6] = {}, c[6] = {};
    EXPECT_THROW(DMULT(con, a, 1, 1, 2, 9, b, 3, 3, 2, 9, c), EngineStop);
    EXPECT_EQ(con.str(), " THE MATRICES ARE NOT CONFORMABLE FOR   MULTIPLICATION IN SUBROUTIN DMULT\n");
}

TEST(Dmult, RowVectorTimesMatrixWithLeadingDimensionNine) {
    std::ostringstream con;
    double row[3] = {1.0, -2.0, 0.5};
    double m[9 * 3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i + 9 * j] = 10.0 * (i + 1) + (j + 1);
    double c[4] = {-9, -9, -9, -9};
    DMULT(con, row, 1, 1, 3, 9, m, 3, 9, 3, 9, c);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(c[j], 1.0 * (11 + j) - 2.0 * (21 + j) + 0.5 * (31 + j));
    EXPECT_EQ(c[3], -9);  // nothing beyond the three results
}

}  // namespace
}  // namespace vorm::test
