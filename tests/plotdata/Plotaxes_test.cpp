// Axis limits that the routines compute from what they write: the test score
// top, the test information range and the theta-minus-delta range.
#include "plot_fixture.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm::test {
namespace {

TEST(PlotAxes, TestScoreTopIsTheNextMultipleOfFive) {
    // Two-category items without discrimination have score 0.5 everywhere.
    for (const auto& [items, range] :
         {std::pair{40, "[0:          20]"}, {47, "[0:          25]"}, {1, "[0:           5]"}}) {
        PlotRun r;
        r.job->MODEL = 5, r.job->NITEM = items, r.st->UNIT = 0.3;
        for (int i = 1; i <= items; ++i) r.job->NCAT(i) = 2, r.st->ALPHA(i) = 0.0;
        PLOTDATA4(r.io, r.fitted(), r.job->WRKDIR);
        EXPECT_EQ(r.lines("PLOT4.SCR")[4], std::string("set yrange ") + range) << items;
    }
}

TEST(PlotAxes, TestInformationRangeInStepsOfFiveAroundTheSums) {
    const struct {
        std::vector<const char*> lines;  // one item file each, the same line 81 times
        const char* sum;
        const char* range;
    } cases[] = {
        {{"   0.000    7.300"}, "   7.300", "[          -5:          10]"},
        {{"   0.000   10.000"}, "  10.000", "[          -5:          15]"},
        {{"   0.000    0.400", "   0.000    0.450"}, "   0.850", "[          -5:           5]"},
        {{"   0.000    2.500", "   0.000    2.500", "   0.000    2.500"}, "   7.500", "[          -5:          10]"}};
    for (const auto& c : cases) {
        PlotRun r;
        const int n = static_cast<int>(c.lines.size());
        for (int i = 1; i <= n; ++i) {
            r.st->ITEMID(i) = 101 - i;  // 100, 99, 98
            write_file(r.dir.file("PLOT5" + item_key(101 - i) + ".DAT"), repeat_lines(c.lines[i - 1], NGRID));
        }
        r.job->NITEM = n;
        PLOTDATA6(r.io, r.fitted(), r.job->WRKDIR);
        const auto data = r.lines("PLOT6.DAT");
        ASSERT_EQ(data.size(), static_cast<std::size_t>(NGRID));
        EXPECT_EQ(data[40], std::string("   0.000 ") + c.sum);
        EXPECT_EQ(r.lines("PLOT6.SCR")[4], std::string("set yrange ") + c.range);
    }
}

TEST(PlotAxes, DistanceRangeStartsFromZeroAndTruncates) {
    const struct {
        double theta1, theta2;
        const char* range;
    } cases[] = {{0.2, 1.7, "[          -1:           2]"},
                 {-2.5, 0.4, "[          -3:           1]"},
                 {-0.4, -0.2, "[          -1:           1]"}};
    for (const auto& c : cases) {
        PlotRun r;
        r.job->MODEL = 4, r.job->NITEM = 1, r.job->NSUBJ = 2;
        r.job->NCAT(1) = 3;
        r.st->THETA(1) = c.theta1, r.st->THETA(2) = c.theta2;
        auto work = std::make_unique<PlotWork>();
        const int groups = 2;  // one pair each: the group means are the distances
        PLOTDATA7(r.io, r.fitted(), *work, groups, r.job->WRKDIR);
        EXPECT_EQ(r.lines("PLOT7.SCR")[3], std::string("set xrange ") + c.range) << c.theta1;
        EXPECT_EQ(r.lines("PLOT7.SCR")[4], "set yrange [0:2]");
    }
}

}  // namespace
}  // namespace vorm::test
