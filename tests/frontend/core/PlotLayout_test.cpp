// The script renderer's layout on the recording canvas, against coordinates
// worked out by hand from the mapping.  With the recording metrics a text of
// n characters is n * 8.25 wide and 20.625 high (12-point titles: n * 12 and
// 30).
#include "core/PlotLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "RecordingCanvas.h"
#include "platform/Numbers.h"

namespace vormgui::plot {
namespace {

using test::dotAt;
using test::expectPrimitives;
using test::lineAt;
using test::textAt;

constexpr double kH = 20.625;  // text height at 8.25 points

std::string script(const std::string& plotLine, const std::string& yRange, const std::string& yLabel = "Y",
                   const std::string& title = "T", const std::string& xRange = "[-4:4]") {
    return "set title \"" + title + "\"\r\nset xlabel \"X\"\r\nset ylabel \"" + yLabel + "\"\r\nset xrange " + xRange +
           "\r\nset yrange " + yRange + "\r\nset term postscript\r\nset output \"x.ps\"\r\nset data style lp\r\n" +
           plotLine + "\r\n";
}

Layout lay(const std::string& data, const std::string& scriptText) {
    const DataRead d = readPlotData(data);
    const ScriptRead s = readPlotScript(scriptText);
    EXPECT_EQ(d.status, DataStatus::Ok);
    EXPECT_TRUE(s.ok);
    test::RecordingCanvas metrics;
    return layoutPlot(d.table, s.script, *s.script.xRange, *s.script.yRange, metrics);
}

// What a curve adds to a plot: the plot drawn with `plotLine` against the
// same plot with a clause that draws nothing ("using 1").
std::vector<Primitive> curveOf(const std::string& data, const std::string& plotLine, const std::string& yRange,
                               const std::string& xRange = "[-4:4]", const std::string& emptyStyle = "lines") {
    const Layout with = lay(data, script(plotLine, yRange, "Y", "T", xRange));
    const Layout without = lay(data, script("plot \"x.dat\" using 1 with " + emptyStyle, yRange, "Y", "T", xRange));
    EXPECT_TRUE(with.complete);
    std::size_t i = 0;
    while (i < without.items.size() && test::samePrimitive(with.items[i], without.items[i])) ++i;
    const std::size_t added = with.items.size() - without.items.size();
    for (std::size_t k = i; k < without.items.size(); ++k)
        EXPECT_TRUE(test::samePrimitive(with.items[k + added], without.items[k])) << "the curve moved item " << k;
    return {with.items.begin() + static_cast<std::ptrdiff_t>(i),
            with.items.begin() + static_cast<std::ptrdiff_t>(i + added)};
}

// x range [-4:4] in the default frame: px = 96.875 (x + 4) + 125.
double px(double x) { return 96.875 * (x + 4) + 125; }

TEST(PlotLayout, LinesPlotWithTwoLineTitleAndLabelIsLaidOutWhole) {
    const Layout l = lay("-4 0\r\n0 2\r\n4 1\r\n", script("plot \"x.dat\" using 1:2 notitle with lines", "[0:2]",
                                                          "True\\nScore", "Upper\\nMain", "[-4:4]"));
    ASSERT_TRUE(l.complete);
    // y range [0:2]: py = 875 - 337.5 y.  "Score", the longer label line, is
    // short enough to keep the frame's left edge at 125.
    std::vector<Primitive> expected = {
        lineAt(125, 875, 125, 200), lineAt(900, 875, 900, 200), lineAt(125, 875, 900, 875), lineAt(125, 200, 900, 200),
        textAt(482.5, 200 - 3 * 30, "Upper", kTitlePoints), textAt(496, 200 - 2 * kH, "Main"),
        textAt(512.5 - 8.25 / 2, 875 + 2 * kH, "X"),
        // y label at 0.55 * 2 = 1.1, py 503.75 taken to 504, 8 blanks left
        // of the frame; its second line one text height lower.
        textAt(125 - 4 * 8.25 - 66, 504 - kH / 2, "True"), textAt(125 - 5 * 8.25 - 66, 504 + kH / 2, "Score"),
        lineAt(125, 875, 512.5, 200), lineAt(512.5, 200, 900, 537.5)};
    // x ticks every 1, 2/75 long (9 picture units), labels one height below.
    for (int k = 0; k <= 8; ++k) {
        const double x = 125 + 96.875 * k;
        expected.push_back(lineAt(x, 875, x, 866));
        expected.push_back(lineAt(x, 200, x, 209));
        std::string label(1, k < 4 ? '-' : ' ');
        label += std::to_string(std::abs(k - 4));
        expected.push_back(textAt(x - 8.25, 875 + kH, label));
    }
    // y ticks every .5, 0.08 long (7.75 units), labels two blanks left.
    const struct {
        double py, rounded;
        const char* label;
    } yTicks[] = {{875, 875, " 0"}, {706.25, 706, " .5"}, {537.5, 538, " 1"}, {368.75, 369, " 1.5"}, {200, 200, " 2"}};
    for (const auto& t : yTicks) {
        expected.push_back(lineAt(125, t.py, 132.75, t.py));
        expected.push_back(lineAt(900, t.py, 892.25, t.py));
        const double width = 8.25 * std::string(t.label).size();
        expected.push_back(textAt(125 - width - 16.5, t.rounded - kH / 2, t.label));
    }
    expectPrimitives(l.items, expected);
}

TEST(PlotLayout, PointsAreSquaresOfAHundredthByAnEightiethOfTheRanges) {
    // x [0:10]: px = 77.5 x + 125; y [0:8]: py = 875 - 84.375 y; each square
    // is 0.1 by 0.1 data units.
    const auto curve =
        curveOf("2 4\r\n5 6\r\n", "plot \"x.dat\" using 1:2 t \"Observed\" with points", "[0:8]", "[0:10]");
    std::vector<Primitive> expected;
    for (const auto [l, r, top, bottom] :
         {std::array{276.125, 283.875, 533.28125, 541.71875}, std::array{508.625, 516.375, 364.53125, 372.96875}}) {
        expected.push_back(lineAt(l, top, r, top));
        expected.push_back(lineAt(r, top, r, bottom));
        expected.push_back(lineAt(r, bottom, l, bottom));
        expected.push_back(lineAt(l, bottom, l, top));
    }
    expectPrimitives(curve, expected);
}

TEST(PlotLayout, DotsOnAFlatRangeLieOnOneLineWithoutSidesTicksOrYLabel) {
    const Layout l =
        lay("-2 1\r\n.5 1\r\n", script("plot \"x.dat\" using 1:2 notitle with dots", "[1:1]", " ", "T", "[-4:4]"));
    ASSERT_TRUE(l.complete);
    // Flat: frame top 535 and bottom 540, every y at 537.5 (538 when taken to
    // a whole unit for a text).
    std::vector<Primitive> expected = {lineAt(125, 537.5, 900, 537.5),
                                       lineAt(125, 537.5, 900, 537.5),
                                       textAt(512.5 - 6, 538 - 2 * 30, "T", kTitlePoints),
                                       textAt(512.5 - 8.25 / 2, 538 + 2 * kH, "X"),
                                       dotAt(px(-2), 537.5),
                                       dotAt(px(0.5), 537.5)};
    for (int k = 0; k <= 8; ++k) {
        const double x = px(k - 4);
        expected.push_back(lineAt(x, 537.5, x, 537.5));
        expected.push_back(lineAt(x, 537.5, x, 537.5));
        expected.push_back(textAt(x - 8.25, 538 + kH, tickLabel(k - 4).toStdString()));
    }
    expectPrimitives(l.items, expected);
}

TEST(PlotLayout, BoxesStandOnTheFrameBottomWithTicksUnderTheirCentres) {
    // y [0:1]: py = 875 - 675 y; width 0.5, the nearest pair of centres.
    const auto curve = curveOf("-3.75 .2\r\n-3.25 .4\r\n-2.25 .1\r\n", "plot \"x.dat\" using 1:2 notitle with boxes",
                               "[0:1]", "[-4:4]", "boxes");
    std::vector<Primitive> expected;
    const double centres[] = {-3.75, -3.25, -2.25}, heights[] = {0.2, 0.4, 0.1};
    for (int r = 0; r < 3; ++r) {
        const double l = px(centres[r] - 0.25), rt = px(centres[r] + 0.25), top = 875 - 675 * heights[r];
        expected.push_back(lineAt(l, top, rt, top));
        expected.push_back(lineAt(l, top, l, 875));
        expected.push_back(lineAt(rt, top, rt, 875));
    }
    // Ticks from -3.75 to 3.75 every .5, 1/75 (9 units) below the frame.
    const char* labels[] = {"-3.75", "-3.25", "-2.75", "-2.25", "-1.75", "-1.25", "-.75",  "-.25",
                            " .25",  " .75",  " 1.25", " 1.75", " 2.25", " 2.75", " 3.25", " 3.75"};
    for (int k = 0; k < 16; ++k) {
        const double x = px(-3.75 + 0.5 * k);
        expected.push_back(lineAt(x, 875, x, 884));
        expected.push_back(textAt(x - std::string(labels[k]).size() * 8.25 / 2, 875 + kH, labels[k]));
    }
    expectPrimitives(curve, expected);
}

TEST(PlotLayout, ErrorBarsAreCutAtTheTopOfTheRange) {
    // Columns 4 (theta), 5 (observed), 9 (upper), 10 (lower) as the item fit
    // plot has them; y [0:2]: py = 875 - 337.5 y; caps 0.08 wide.
    const std::string data = "1 30 0 -1 1.5 1.4 .3 0 2.6 .4\r\n2 30 0 1 1.8 1.7 .3 0 1.9 1.1\r\n";
    const auto curve = curveOf(data, "plot \"x.dat\" using 4:5:9:10 notitle with errorbars lt 1 ps 1", "[0:2]");
    const double a = px(-1), b = px(1), cap = 3.875;
    expectPrimitives(curve, {dotAt(a, 875 - 337.5 * 1.5), lineAt(a, 875 - 337.5 * .4, a, 200),
                             lineAt(a - cap, 200, a + cap, 200), lineAt(a - cap, 740, a + cap, 740),
                             dotAt(b, 875 - 337.5 * 1.8), lineAt(b, 875 - 337.5 * 1.1, b, 875 - 337.5 * 1.9),
                             lineAt(b - cap, 875 - 337.5 * 1.9, b + cap, 875 - 337.5 * 1.9),
                             lineAt(b - cap, 875 - 337.5 * 1.1, b + cap, 875 - 337.5 * 1.1)});
}

TEST(PlotLayout, TickSequencesAndLabels) {
    const struct {
        double from, to;
        std::vector<std::string> labels;
    } cases[] = {
        {0, 1, {" 0", " .1", " .2", " .3", " .4", " .5", " .6", " .7", " .8", " .9", " 1"}},
        {-1, 1, {"-1", "-.5", " 0", " .5", " 1"}},
        {-5, 10, {"-5", " 0", " 5", " 10"}},
        {-4, 4, {"-4", "-3", "-2", "-1", " 0", " 1", " 2", " 3", " 4"}},
        {0, 0.15, {" 0", " .05", " .1", " .15"}},
        {0, 0.1, {" 0", " .01", " .02", " .03", " .04", " .05", " .06", " .07", " .08", " .09", " .1"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> labels;
        for (double t : tickValues(c.from, c.to, plotTickStep(c.to - c.from)))
            labels.push_back(tickLabel(t).toStdString());
        EXPECT_EQ(labels, c.labels) << c.from << ".." << c.to;
    }
}

TEST(PlotLayout, TickStepByAxisLengthWithLowerBoundsInTheirRows) {
    const std::pair<double, double> cases[] = {{1000, 20}, {100.001, 20}, {100, 10},  {40, 10},   {39.99, 5},
                                               {15, 5},    {14.99, 1},    {4, 1},     {3.99, .5}, {1.5, .5},
                                               {1.49, .1}, {.4, .1},      {.39, .05}, {.15, .05}, {.149, .01}};
    for (const auto& [range, step] : cases) EXPECT_EQ(plotTickStep(range), step) << range;
}

TEST(PlotLayout, TickLoopsEndWhateverTheStep) {
    EXPECT_TRUE(tickValues(0, 1, 0).empty());
    EXPECT_TRUE(tickValues(0, 1, -0.5).empty());
    EXPECT_EQ(tickValues(1e20, 1e20 + 1e6, 20).size(), 1u) << "a step too small to change the value";
    EXPECT_EQ(tickValues(0, 1e9, 20).size(), kMaxTicks);
    // Boxes on two records at one x have no width: no box-centre ticks.
    const Layout l = lay("1 .5\r\n1 .7\r\n", script("plot \"x.dat\" using 1:2 with boxes", "[0:1]"));
    EXPECT_TRUE(l.complete);
}

}  // namespace
}  // namespace vormgui::plot
