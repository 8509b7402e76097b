// The category probability window: its layout against hand-worked
// coordinates (frame 125..800 by 200..875, legend box 820..950 by 250..850;
// recording metrics: n characters are n * 8.25 wide and 20.625 high), its
// styles and whole-number ranges, and its messages.
#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "core/ProbPlotLayout.h"
#include "gui_test_support.h"
#include "results/FormPlotProb.h"
#include "results/mGnuPlot.h"
#include "widgets/ImageCanvas.h"
#include "widgets/RecordingServices.h"

namespace vormgui::plot {
namespace {

using test::dotAt;
using test::lineAt;
using test::textAt;

const std::string kScript =
    "set title \"Category Probability Functions\\nItem#:05 \"\r\nset xlabel \"Theta\"\r\nset ylabel \"Prob.\"\r\n"
    "set xrange [-4:4]\r\nset yrange [0:1]\r\nset term postscript\r\nset output \"plot205.ps\"\r\n"
    "set data style lp\r\nplot \"plot205.dat\" using 1:2 t \"Categories #1\" with lines\r\n";

Layout lay(const std::string& data) {
    const DataRead d = readPlotData(data);
    const ScriptRead s = readPlotScript(kScript);
    EXPECT_TRUE(d.status == DataStatus::Ok && s.ok);
    test::RecordingCanvas metrics;
    return layoutProbPlot(d.table, s.script, WholeRanges{-4, 4, 0, 1.0}, metrics);
}

// x [-4:4]: px = 84.375 (x + 4) + 125; y [0:1]: py = 875 - 675 y.
TEST(ProbPlotLayout, FourCategoriesInTheirStylesWithALegendEntryEach) {
    const Layout l = lay("-4 .1 .2 .3 .4\r\n4 .5 .6 .7 .8\r\n");
    ASSERT_TRUE(l.complete);
    const Colour red{255, 0, 0}, yellow{255, 255, 0}, green{0, 255, 0};
    const Pen solid1{}, dotted1{red, 1, LineStyle::Dotted}, solid2{yellow, 2, LineStyle::Solid},
        dots2{green, 2, LineStyle::Dotted};
    // Legend heights .8, .6, .4, .2 of the box: picture y 370, 490, 610, 730;
    // texts 4 blanks right of the box, samples from 0.4 to 0.9 of its width.
    std::vector<Primitive> expected = {textAt(853, 370 - 10.3125, "z0"),
                                       lineAt(872, 370, 937, 370, solid1),
                                       textAt(853, 490 - 10.3125, "z1", 8.25, red),
                                       lineAt(872, 490, 937, 490, dotted1),
                                       textAt(853, 610 - 10.3125, "z2", 8.25, yellow),
                                       lineAt(872, 610, 937, 610, solid2),
                                       textAt(853, 730 - 10.3125, "z3", 8.25, green)};
    for (int k = 0; k <= 10; ++k) expected.push_back(dotAt(872 + 6.5 * k, 730, dots2));
    expected.push_back(lineAt(125, 807.5, 800, 537.5, solid1));
    expected.push_back(lineAt(125, 740, 800, 470, dotted1));
    expected.push_back(lineAt(125, 672.5, 800, 402.5, solid2));
    expected.push_back(dotAt(125, 605, dots2));
    expected.push_back(dotAt(800, 335, dots2));
    ASSERT_GE(l.items.size(), expected.size());
    test::expectPrimitives({l.items.end() - static_cast<std::ptrdiff_t>(expected.size()), l.items.end()}, expected);

    // y ticks every 0.1, the step added each time.
    std::vector<std::string> yLabels;
    for (const Primitive& p : l.items)
        if (p.kind == Primitive::Kind::Text && p.x1 + p.text.size() * 8.25 == 125 - 16.5) yLabels.push_back(p.text);
    EXPECT_EQ(yLabels,
              (std::vector<std::string>{" 0", " .1", " .2", " .3", " .4", " .5", " .6", " .7", " .8", " .9", " 1"}));
    EXPECT_TRUE(test::samePrimitive(l.items[11], textAt(125 - 5 * 8.25 - 7 * 8.25, 538 - 10.3125, "Prob.")))
        << test::describe(l.items[11]);
}

TEST(ProbPlotLayout, TwoCategoriesKeepTheLastRecordAndOneRecordDrawsNoCurve) {
    const Layout two = lay("-4 .9 .1\r\n0 .5 .5\r\n4 .1 .9\r\n");
    ASSERT_TRUE(two.complete);
    const Primitive& last = two.items.back();
    EXPECT_TRUE(test::samePrimitive(last, lineAt(462.5, 537.5, 800, 267.5, Pen{{255, 0, 0}, 1, LineStyle::Dotted})))
        << test::describe(last);

    const Layout one = lay("-4 .1 .2 .3 .4\r\n");
    ASSERT_TRUE(one.complete);
    for (const Primitive& p : one.items) EXPECT_EQ(p.pen.colour, Colour{}) << "no curve and no legend entry";
}

TEST(ProbPlotLayout, CategoryStylesAndWholeRanges) {
    const struct {
        Colour colour;
        int width;
        bool dotted, dots;
    } styles[] = {{{0, 0, 0}, 1, false, false},     {{255, 0, 0}, 1, true, false},  {{255, 255, 0}, 2, false, false},
                  {{0, 255, 0}, 2, true, true},     {{0, 0, 255}, 3, false, false}, {{255, 0, 255}, 3, true, true},
                  {{0, 255, 255}, 4, false, false}, {{0, 0, 0}, 4, true, true},     {{255, 255, 0}, 5, false, false},
                  {{0, 255, 0}, 5, true, true}};
    for (int c = 0; c < 10; ++c) {
        const CategoryStyle s = categoryStyle(c);
        EXPECT_EQ(s.pen.colour, styles[c].colour) << c;
        EXPECT_EQ(s.pen.width, styles[c].width) << c;
        EXPECT_EQ(s.pen.style == LineStyle::Dotted, styles[c].dotted) << c;
        EXPECT_EQ(s.dots, styles[c].dots) << c;
    }

    using Whole = std::optional<std::pair<int, int>>;
    EXPECT_EQ(wholeRange({-4.4, 3.6}), (Whole{{-4, 4}}));
    EXPECT_EQ(wholeRange({0.5, 1.5}), (Whole{{0, 2}})) << "halves to the even neighbour";
    EXPECT_EQ(wholeRange({-32768.4, 32767.4}), (Whole{{-32768, 32767}}));
    EXPECT_EQ(wholeRange({0, 32767.5}), Whole{});
}

// The subtitle of a 10-category item names ten thresholds; drawn in the
// window's picture with real fonts, which come in whole pixel sizes, it must
// still lie inside the picture.
TEST(ProbPlotLayout, TenThresholdTitleFitsThePicture) {
    std::string script = kScript;
    script.replace(script.find("Item#:05 "), 9,
                   "Item#:01 , delta= 2.215, alpha= 1.301, tau= 0.000,-2.060,-1.971,-1.681,-1.717,-0.937,-0.566,"
                   "-0.531,-0.357,-0.357.");
    const ScriptRead s = readPlotScript(script);
    ASSERT_TRUE(s.ok);
    const ImageCanvas picture(ImageCanvas::pixelsForTwips(8415, 6255));
    const Layout l =
        layoutProbPlot(readPlotData("-4 .5 .5\r\n4 .5 .5\r\n").table, s.script, WholeRanges{-4, 4, 0, 1.0}, picture);
    int titles = 0;
    for (const Primitive& p : l.items)
        if (p.kind == Primitive::Kind::Text && p.text.find("Item#:01") == 0) {
            ++titles;
            EXPECT_GE(p.x1, 0.0);
            EXPECT_LE(p.x1 + picture.textWidth(p.text, p.points), double(Canvas::kScale));
        }
    EXPECT_EQ(titles, 1);
}

TEST(FormPlotProb, SaysWhyAFileCannotBeDrawn) {
    test::TempFolder folder;
    RecordingServices rec;
    mGnuPlot renderer(rec, "VORM2004");
    FormPlotProb window(rec, renderer, nullptr);
    const QString general = QStringLiteral(
        "message Error as plotting!: Error as reading the plot data/script file(s). Please check file name and "
        "validity of plot files.");
    const QByteArray script = QByteArray::fromStdString(kScript);
    QByteArray many;
    for (int r = 0; r < 4096; ++r) many += "1 .5 .5\r\n";
    const struct {
        QByteArray data, script;
        QString message;
    } cases[] = {
        {"-4 .5 .5\r\n4 .5 .5\r\n", script, {}},
        {many, script, "message Overflow!: More than 4095 records!! Please check your data file."},
        {"\r\n-4 .5 .5\r\n", script, "message Empty or error data file!: No record!! Please check your data file."},
        {"-4 .5 .5\r\n", script.left(script.indexOf("set data")), general},
        {"-4 .5 .5\r\n", QByteArray(script).replace("[0:1]", "[1:1]"), general},
        {"-4 .5 .5\r\n", QByteArray(script).replace("[0:1]", "[0:40000]"), general},
    };
    for (const auto& c : cases) {
        rec.log.clear();
        test::writeFile(folder.file("PLOT205.DAT"), c.data);
        test::writeFile(folder.file("PLOT205.SCR"), c.script);
        window.FileListPlot = {folder.path(), "PLOT2*.DAT", {"PLOT205.DAT"}, -1};
        EXPECT_EQ(window.setListIndex(0), c.message.isEmpty());
        EXPECT_EQ(rec.log, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

}  // namespace
}  // namespace vormgui::plot
