#include "PlotLayout.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/Numbers.h"

namespace vormgui::plot {

namespace {

constexpr Pen kDotPen{Colour{}, 4, LineStyle::Solid};

double finite(double v) {
    if (!std::isfinite(v)) throw DrawFailure{};
    return v;
}

std::string label(double value) { return tickLabel(value).toStdString(); }

// The y label's length in characters, or that of its longer line when a
// backslash splits it: a long label widens the left margin.
std::size_t labelLength(const std::string& yLabel) {
    const std::size_t bs = yLabel.find('\\');
    if (bs == std::string::npos) return yLabel.size();
    const std::size_t second = bs + 2 <= yLabel.size() ? yLabel.size() - bs - 2 : 0;
    return std::max(bs, second);
}

enum Style { kLines = 0, kPoints = 1, kDots = 2, kBoxes = 3 };

// The plot line's clauses one after the other: "using" and its columns, and
// the style that the text after them names.
class PlotLineReader {
public:
    explicit PlotLineReader(const std::string& line) : line_(line) {}
    bool more() const { return more_; }

    // Reads the next clause into `columns` (slots 1..4) and returns how many
    // slots it filled; `style` gets its style.
    int next(std::array<int, 5>& columns, int& style) {
        const std::size_t u = line_.find("using", pos_);
        // Without "using" the next search would start over from the line's
        // beginning and never end.
        if (u == std::string::npos) throw DrawFailure{};
        pos_ = u + 6;
        if (pos_ > line_.size()) throw DrawFailure{};  // "using" ends the line
        for (int c = 1;; ++c) {
            if (c == 5) throw DrawFailure{};  // no fifth column slot
            const std::size_t colon = line_.find(':', pos_);
            const std::size_t blank = line_.find(' ', pos_);
            const std::size_t end = blank == std::string::npos ? line_.size() : blank;
            if (colon == std::string::npos) {  // the last column of the last clause
                columns[static_cast<std::size_t>(c)] = column(pos_, end);
                style = lastStyle(pos_);
                more_ = false;
                return c;
            }
            if (colon > end) {  // the last column of a clause that others follow
                columns[static_cast<std::size_t>(c)] = column(pos_, end);
                style = middleStyle(pos_);
                pos_ = end + 1;
                return c;
            }
            columns[static_cast<std::size_t>(c)] = column(pos_, colon);
            pos_ = colon + 1;
        }
    }

private:
    int column(std::size_t from, std::size_t to) const {
        const std::string text = line_.substr(from, to - from);
        const auto c = nearestCount(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        if (!c) throw DrawFailure{};
        return *c;
    }
    bool has(const char* word, std::size_t from) const { return line_.find(word, from) != std::string::npos; }
    int lastStyle(std::size_t from) const {
        if (has("points", from)) return kPoints;
        if (has("dots", from)) return kDots;
        if (has("boxes", from)) return kBoxes;
        return kLines;
    }
    // Only "points" is told apart before another clause.
    int middleStyle(std::size_t from) const {
        const std::size_t points = line_.find("points", from);
        return points != std::string::npos && points < line_.find(',', from) ? kPoints : kLines;
    }

    const std::string& line_;
    std::size_t pos_ = 0;
    bool more_ = true;
};

double cell(const DataTable& data, int record, int column) {
    if (column < 0 || column > kTableColumns) throw DrawFailure{};
    return data.at(record, column);
}

struct Sizes {
    double pointWidth, pointHeight, yTick, xTick;
};

void drawCurve(Plotter& p, const DataTable& data, const std::array<int, 5>& col, int count, int style, const Sizes& s,
               Range x, Range y, double& boxWidth) {
    const int n = data.records();
    auto at = [&](int r, int c) { return cell(data, r, col[static_cast<std::size_t>(c)]); };
    if (count == 4) {
        for (int r = 1; r <= n; ++r) {
            const double px = at(r, 1);
            p.plotDrawPoint(px, at(r, 2), kDotPen);
            const double high = std::min(y.max, at(r, 3));
            const double low = std::max(y.min, at(r, 4));
            p.plotDrawLine(px, low, px, high);
            p.plotDrawLine(px - s.yTick / 2, high, px + s.yTick / 2, high);
            p.plotDrawLine(px - s.yTick / 2, low, px + s.yTick / 2, low);
        }
        return;
    }
    if (count != 2) return;
    switch (style) {
        case kLines:
            for (int r = 1; r < n; ++r) p.plotDrawLine(at(r, 1), at(r, 2), at(r + 1, 1), at(r + 1, 2));
            break;
        case kPoints:
            for (int r = 1; r <= n; ++r) {
                const double l = at(r, 1) - s.pointWidth / 2, rt = at(r, 1) + s.pointWidth / 2;
                const double lo = at(r, 2) - s.pointHeight / 2, hi = at(r, 2) + s.pointHeight / 2;
                p.plotDrawLine(l, hi, rt, hi);
                p.plotDrawLine(rt, hi, rt, lo);
                p.plotDrawLine(rt, lo, l, lo);
                p.plotDrawLine(l, lo, l, hi);
            }
            break;
        case kDots:
            for (int r = 1; r <= n; ++r) p.plotDrawPoint(at(r, 1), at(r, 2), kDotPen);
            break;
        case kBoxes:
            boxWidth = x.max - x.min;
            for (int r = 1; r < n; ++r) boxWidth = std::min(boxWidth, std::fabs(at(r, 1) - at(r + 1, 1)));
            for (int r = 1; r <= n; ++r) {
                const double l = at(r, 1) - boxWidth / 2, rt = at(r, 1) + boxWidth / 2, top = at(r, 2);
                p.plotDrawLine(l, top, rt, top);
                p.plotDrawLine(l, top, l, y.min);
                p.plotDrawLine(rt, top, rt, y.min);
            }
            break;
    }
}

}  // namespace

Plotter::Plotter(const Frame& frame, Range x, Range y, const TextMetrics& metrics, bool flatMiddle)
    : f_(frame), x_(x), y_(y), metrics_(metrics), flatMiddle_(flatMiddle) {}

double Plotter::px(double x) const {
    const double span = x_.max - x_.min;
    if (span == 0.0) throw DrawFailure{};
    return finite((x - x_.min) * (f_.right - f_.left) / span + f_.left);
}

double Plotter::pyStrict(double y) const {
    const double span = y_.max - y_.min;
    if (span == 0.0) throw DrawFailure{};
    return finite((y - y_.min) * (f_.top - f_.bottom) / span + f_.bottom);
}

double Plotter::py(double y) const {
    if (flatMiddle_ && y_.min == y_.max) return (f_.top + f_.bottom) / 2;
    return pyStrict(y);
}

void Plotter::plotDrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    pictureLine(px(x1), py(y1), px(x2), py(y2), pen);
}

void Plotter::plotDrawPoint(double x, double y, const Pen& pen) { pictureDot(px(x), py(y), pen); }

void Plotter::plotXAxisText(double x, double y, const std::string& text, int n, double points, Colour colour) {
    const double left = px(x) - metrics_.textWidth(text, points) / 2;
    const double top = std::nearbyint(py(y)) - n * metrics_.textHeight(points);
    pictureText(left, top, text, points, colour);
}

void Plotter::plotYAxisText(double x, double y, const std::string& text, int n, double points, double down) {
    const double left = px(x) - metrics_.textWidth(text, points) - n * metrics_.textWidth(" ", points);
    const double top = std::nearbyint(pyStrict(y)) - metrics_.textHeight(points) / 2 + down;
    pictureText(left, top, text, points, Colour{});
}

void Plotter::pictureLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    items_.push_back(Primitive{Primitive::Kind::Line, x1, y1, x2, y2, pen, {}, 0.0});
}

void Plotter::pictureDot(double x, double y, const Pen& pen) {
    items_.push_back(Primitive{Primitive::Kind::Dot, x, y, 0.0, 0.0, pen, {}, 0.0});
}

void Plotter::pictureText(double x, double y, const std::string& text, double points, Colour colour) {
    items_.push_back(Primitive{Primitive::Kind::Text, x, y, 0.0, 0.0, Pen{colour}, text, points});
}

double plotTickStep(double range) {
    if (range > 100) return 20;
    if (range >= 40) return 10;
    if (range >= 15) return 5;
    if (range >= 4) return 1;
    if (range >= 1.5) return 0.5;
    if (range >= 0.4) return 0.1;
    if (range >= 0.15) return 0.05;
    return 0.01;
}

std::vector<double> tickValues(double from, double to, double step) {
    std::vector<double> ticks;
    if (!(step > 0.0) || !std::isfinite(from)) return ticks;
    // A sum of steps that lands a rounding error above the end still is the
    // end tick: [0:.15] in steps of .05 reaches 0.15000000000000002.
    const double end = to + step * 1e-9;
    for (double t = from; t <= end && ticks.size() < kMaxTicks;) {
        ticks.push_back(t);
        const double next = t + step;
        if (next == t) break;
        t = next;
    }
    return ticks;
}

void layoutFrame(Plotter& p, Range x, Range y, bool sides) {
    if (sides) {
        p.plotDrawLine(x.min, y.min, x.min, y.max);
        p.plotDrawLine(x.max, y.min, x.max, y.max);
    }
    p.plotDrawLine(x.min, y.min, x.max, y.min);
    p.plotDrawLine(x.min, y.max, x.max, y.max);
}

void layoutTitlesAndXLabel(Plotter& p, const PlotScript& script, Range x, Range y) {
    constexpr double kMargin = 5.0;
    const double middle = (x.min + x.max) / 2;
    const double centre = p.px(middle);
    const double room = 2 * (std::min(centre, Canvas::kScale - centre) - kMargin);
    auto fit = [&](const std::string& text, double points) {
        const double width = p.metrics().textWidth(text, points);
        if (width <= room || room <= 0) return points;
        // Fonts come in whole pixel sizes, so the proportional size may still
        // draw as wide as the full one: smaller until it fits.
        double fitted = points * room / width;
        while (fitted > 1 && p.metrics().textWidth(text, fitted) > room) fitted -= 0.25;
        return fitted;
    };
    if (!script.upperTitle.empty()) {
        p.plotXAxisText(middle, y.max, script.upperTitle, 3, fit(script.upperTitle, kTitlePoints));
        p.plotXAxisText(middle, y.max, script.mainTitle, 2, fit(script.mainTitle, kTextPoints));
    } else {
        p.plotXAxisText(middle, y.max, script.mainTitle, 2, fit(script.mainTitle, kTitlePoints));
    }
    p.plotXAxisText(middle, y.min, script.xLabel, -2, kTextPoints);
}

void layoutXTicks(Plotter& p, const std::vector<double>& ticks, Range y, double length) {
    for (double t : ticks) {
        p.plotDrawLine(t, y.min, t, y.min + length);
        p.plotDrawLine(t, y.max, t, y.max - length);
        p.plotXAxisText(t, y.min, label(t), -1, kTextPoints);
    }
}

void layoutYTicks(Plotter& p, const std::vector<double>& ticks, Range x, double length) {
    for (double t : ticks) {
        p.plotDrawLine(x.min, t, x.min + length, t);
        p.plotDrawLine(x.max, t, x.max - length, t);
        p.plotYAxisText(x.min, t, label(t), 2, kTextPoints);
    }
}

Layout layoutPlot(const DataTable& data, const PlotScript& script, Range x, Range y, const TextMetrics& metrics) {
    Layout out;
    Frame f{125.0, 900.0, 200.0, 875.0};
    if (y.min == y.max) f.top = 535.0, f.bottom = 540.0;
    const std::size_t longest = labelLength(script.yLabel);
    if (longest > 7) f.left = 125.0 + 10.0 * static_cast<double>(longest - 7);

    Plotter p(f, x, y, metrics, true);
    const bool rising = y.max - y.min > 0;
    try {
        layoutFrame(p, x, y, rising);
        layoutTitlesAndXLabel(p, script, x, y);

        const std::string& yl = script.yLabel;
        if (!yl.empty() && yl != " ") {
            const double at = 0.55 * (y.max + y.min);
            const std::size_t bs = yl.find('\\');
            if (bs == std::string::npos) {
                p.plotYAxisText(x.min, at, yl, 8, kTextPoints);
            } else {
                p.plotYAxisText(x.min, at, yl.substr(0, bs), 8, kTextPoints);
                // One text height lower, so that the two lines never overlap.
                p.plotYAxisText(x.min, at, bs + 2 < yl.size() ? yl.substr(bs + 2) : std::string(), 8, kTextPoints,
                                metrics.textHeight(kTextPoints));
            }
        }

        const Sizes sizes{(x.max - x.min) / 100, rising ? (y.max - y.min) / 80 : (x.max - x.min) / 100,
                          (x.max - x.min) / 100, (y.max - y.min) / 75};
        if (!script.plotLine) throw DrawFailure{};
        PlotLineReader clauses(*script.plotLine);
        int style = kLines;
        double boxWidth = 0.0;
        while (clauses.more()) {
            std::array<int, 5> columns{};
            const int count = clauses.next(columns, style);
            drawCurve(p, data, columns, count, style, sizes, x, y, boxWidth);
        }

        if (style != kBoxes) {
            layoutXTicks(p, tickValues(x.min, x.max, plotTickStep(x.max - x.min)), y, sizes.xTick);
        } else {
            // Ticks under the box centres; a zero width (two records at one x)
            // gives none rather than an endless loop.
            for (double t : tickValues(x.min + boxWidth / 2, x.max - boxWidth / 2, boxWidth)) {
                p.plotDrawLine(t, y.min, t, y.min - sizes.xTick);
                p.plotXAxisText(t, y.min, label(t), -1, kTextPoints);
            }
        }
        if (rising) layoutYTicks(p, tickValues(y.min, y.max, plotTickStep(y.max - y.min)), x, sizes.yTick);
        out.complete = true;
    } catch (const DrawFailure&) {
    }
    out.items = p.take();
    return out;
}

void paint(const std::vector<Primitive>& items, Canvas& canvas) {
    for (const Primitive& item : items) {
        switch (item.kind) {
            case Primitive::Kind::Line:
                canvas.line(item.x1, item.y1, item.x2, item.y2, item.pen);
                break;
            case Primitive::Kind::Dot:
                canvas.dot(item.x1, item.y1, item.pen);
                break;
            case Primitive::Kind::Text:
                canvas.text(item.x1, item.y1, item.text, item.points, item.pen.colour);
                break;
        }
    }
}

}  // namespace vormgui::plot
