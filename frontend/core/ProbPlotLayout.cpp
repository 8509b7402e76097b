#include "ProbPlotLayout.h"

#include <array>
#include <cmath>

namespace vormgui::plot {

namespace {

constexpr Colour kBlack{0, 0, 0}, kRed{255, 0, 0}, kYellow{255, 255, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kMagenta{255, 0, 255}, kCyan{0, 255, 255};
// Category 9, which only a ten-category item has, continues the pattern of
// category 3: green dots after a yellow line.
constexpr std::array<Colour, 10> kColours{kBlack,   kRed,  kYellow, kGreen,  kBlue,
                                          kMagenta, kCyan, kBlack,  kYellow, kGreen};

// Legend box in picture units; legend positions are given in box units,
// (0, 0) its bottom left corner and (1, 1) its top right one.
constexpr Frame kLegendBox{820.0, 950.0, 250.0, 850.0};

double legendX(double u) { return kLegendBox.left + u * (kLegendBox.right - kLegendBox.left); }
double legendY(double v) { return kLegendBox.bottom - v * (kLegendBox.bottom - kLegendBox.top); }

}  // namespace

std::optional<std::pair<int, int>> wholeRange(Range range) {
    const double low = std::nearbyint(range.min), high = std::nearbyint(range.max);
    auto fits = [](double v) { return v >= -32768.0 && v <= 32767.0; };
    if (!fits(low) || !fits(high)) return std::nullopt;
    return std::pair<int, int>{static_cast<int>(low), static_cast<int>(high)};
}

// Column j = category + 2 alternates solid and dotted while the width grows
// every second column; a dotted style wider than one pixel is drawn as dots.
CategoryStyle categoryStyle(int category) {
    const int j = category + 2;
    CategoryStyle style;
    style.pen.colour = kColours.at(static_cast<std::size_t>(category));
    style.pen.width = j / 2;
    if (j % 2 == 1) {
        style.pen.style = LineStyle::Dotted;
        style.dots = j > 3;
    }
    return style;
}

Layout layoutProbPlot(const DataTable& data, const PlotScript& script, const WholeRanges& r,
                      const TextMetrics& metrics) {
    Layout out;
    const Range x{double(r.xMin), double(r.xMax)}, y{double(r.yMin), r.yMax};
    Plotter p(Frame{125.0, 800.0, 200.0, 875.0}, x, y, metrics, false);
    const Pen black{};
    try {
        layoutFrame(p, x, y, true);
        p.pictureLine(legendX(0), legendY(0), legendX(1), legendY(0), black);
        p.pictureLine(legendX(1), legendY(0), legendX(1), legendY(1), black);
        p.pictureLine(legendX(1), legendY(1), legendX(0), legendY(1), black);
        p.pictureLine(legendX(0), legendY(1), legendX(0), legendY(0), black);

        layoutTitlesAndXLabel(p, script, x, y);
        p.plotYAxisText(x.min, (y.min + y.max) / 2, script.yLabel, 7, kTextPoints);
        layoutXTicks(p, tickValues(x.min, x.max, 1.0), y, (y.max - y.min) / 50);
        layoutYTicks(p, tickValues(y.min, y.max, 0.1), x, (x.max - x.min) / 100);

        const int n = data.columns, records = data.records();
        if (records >= 2) {
            // Column j's style is styles[j - 2].
            std::vector<CategoryStyle> styles;
            for (int j = 2; j <= n; ++j) styles.push_back(categoryStyle(j - 2));
            const double blank = metrics.textWidth(" ", kTextPoints), height = metrics.textHeight(kTextPoints);
            for (int j = 2; j <= n; ++j) {
                const CategoryStyle& s = styles[static_cast<std::size_t>(j - 2)];
                const double v = 1.0 - double(j - 1) / n;
                std::string name(1, 'z');
                name += std::to_string(j - 2);
                p.pictureText(legendX(0) + 4 * blank, legendY(v) - height / 2, name, kTextPoints, s.pen.colour);
                if (!s.dots) {
                    p.pictureLine(legendX(0.4), legendY(v), legendX(0.9), legendY(v), s.pen);
                } else {
                    for (int k = 0; k <= 10; ++k) p.pictureDot(legendX(0.4 + 0.05 * k), legendY(v), s.pen);
                }
            }
            // Record by record, every category in turn, as the curves overlap
            // where they cross.  Dots go on every record, the last included.
            for (int rec = 1; rec <= records; ++rec) {
                for (int j = 2; j <= n; ++j) {
                    const CategoryStyle& s = styles[static_cast<std::size_t>(j - 2)];
                    if (s.dots)
                        p.plotDrawPoint(data.at(rec, 1), data.at(rec, j), s.pen);
                    else if (rec < records)
                        p.plotDrawLine(data.at(rec, 1), data.at(rec, j), data.at(rec + 1, 1), data.at(rec + 1, j),
                                       s.pen);
                }
            }
        }
        out.complete = true;
    } catch (const DrawFailure&) {
    }
    out.items = p.take();
    return out;
}

}  // namespace vormgui::plot
