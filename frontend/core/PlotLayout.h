// Plots go model -> layout -> paint.  The layout turns the parsed plot files
// and the canvas's text metrics into a list of primitives in picture units
// (1000 by 1000, origin top left); painting only draws that list.
//
// A data point (x, y) maps into the frame as
//   px = (x - xMin) * (right - left) / (xMax - xMin) + left
//   py = (y - yMin) * (top - bottom) / (yMax - yMin) + bottom
// so yMin lies on the frame bottom and yMax on its top.  A mapping that
// divides by zero or leaves the finite numbers is a drawing failure: the
// layout stops there and keeps what it had laid out.
#pragma once

#include <string>
#include <vector>

#include "PlotFiles.h"
#include "platform/Canvas.h"

namespace vormgui::plot {

constexpr double kTitlePoints = 12.0;
constexpr double kTextPoints = 8.25;

struct Primitive {
    enum class Kind { Line, Dot, Text };
    Kind kind = Kind::Line;
    double x1 = 0.0, y1 = 0.0;  // a text's top left corner
    double x2 = 0.0, y2 = 0.0;
    Pen pen;  // a text takes its colour
    std::string text;
    double points = 0.0;  // a text's font size
};

struct Frame {
    double left = 0.0, right = 0.0, top = 0.0, bottom = 0.0;
};

struct Layout {
    std::vector<Primitive> items;
    bool complete = false;  // false: the drawing failed after `items`
};

// Thrown inside a layout where the picture box would have raised a run-time
// error; the layout catches it and returns what it had.
struct DrawFailure {};

// Places primitives through the mapping of one frame and two ranges.
class Plotter {
public:
    // With `flatMiddle`, a flat y range (yMin == yMax) maps every y to the
    // middle of the frame for lines, dots and centred texts.
    Plotter(const Frame& frame, Range x, Range y, const TextMetrics& metrics, bool flatMiddle);

    double px(double x) const;
    double py(double y) const;

    void plotDrawLine(double x1, double y1, double x2, double y2, const Pen& pen = {});
    void plotDrawPoint(double x, double y, const Pen& pen);
    // Text centred on x with its top edge n text heights above y (below for
    // negative n).
    void plotXAxisText(double x, double y, const std::string& text, int n, double points, Colour colour = {});
    // Text ending n blank widths left of x, centred on y, moved `down`
    // picture units further down.  It has no flat-range case.
    void plotYAxisText(double x, double y, const std::string& text, int n, double points, double down = 0.0);

    // Primitives placed directly in picture units (legends).
    void pictureLine(double x1, double y1, double x2, double y2, const Pen& pen);
    void pictureDot(double x, double y, const Pen& pen);
    void pictureText(double x, double y, const std::string& text, double points, Colour colour);

    const TextMetrics& metrics() const { return metrics_; }
    std::vector<Primitive> take() { return std::move(items_); }

private:
    double pyStrict(double y) const;

    Frame f_;
    Range x_, y_;
    const TextMetrics& metrics_;
    bool flatMiddle_;
    std::vector<Primitive> items_;
};

// The tick spacing for an axis of length `range`.
double plotTickStep(double range);

// from, from + step, ... while not beyond `to` (by more than a rounding
// error), the step added each time.
// Guarded: nothing for a step that is not positive, a stop where adding the
// step no longer changes the value, and at most kMaxTicks values.
constexpr std::size_t kMaxTicks = 10000;
std::vector<double> tickValues(double from, double to, double step);

// The frame's bottom and top, after its left and right sides with `sides`.
void layoutFrame(Plotter& p, Range x, Range y, bool sides);

// The title above the frame and the x label below it, both centred on the x
// range.  The title is an upper line (when there is one) in the title size
// three text heights up and the main line in the text size two heights up,
// or a one-line title in the title size two heights up.  A line too wide for
// the picture gets a smaller font rather than losing both its ends.
void layoutTitlesAndXLabel(Plotter& p, const PlotScript& script, Range x, Range y);

// At each of `ticks`, a tick `length` data units into the frame from its
// bottom and from its top, labelled under the frame.
void layoutXTicks(Plotter& p, const std::vector<double>& ticks, Range y, double length);
// At each of `ticks`, a tick `length` data units into the frame from its
// left and from its right, labelled left of the frame.
void layoutYTicks(Plotter& p, const std::vector<double>& ticks, Range x, double length);

// The plot of a script and its data file: frame, titles, labels, the curves
// of the plot line, ticks and tick labels.
Layout layoutPlot(const DataTable& data, const PlotScript& script, Range x, Range y, const TextMetrics& metrics);

void paint(const std::vector<Primitive>& items, Canvas& canvas);

}  // namespace vormgui::plot
