// A canvas that keeps what was drawn on it, with text metrics simple enough
// to work positions out by hand: every character is as wide as the font's
// size in points and a line is 2.5 times that size high (picture units).
#pragma once

#include <vector>

#include "core/PlotLayout.h"
#include "platform/Canvas.h"

namespace vormgui::test {

class RecordingCanvas : public Canvas {
public:
    using Primitive = plot::Primitive;

    std::vector<Primitive> drawn;
    int clears = 0;

    void clear() override {
        drawn.clear();
        ++clears;
    }
    double textWidth(const std::string& text, double points) const override {
        return static_cast<double>(text.size()) * points;
    }
    double textHeight(double points) const override { return 2.5 * points; }
    void line(double x1, double y1, double x2, double y2, const Pen& pen) override {
        drawn.push_back({Primitive::Kind::Line, x1, y1, x2, y2, pen, {}, 0.0});
    }
    void dot(double x, double y, const Pen& pen) override {
        drawn.push_back({Primitive::Kind::Dot, x, y, 0.0, 0.0, pen, {}, 0.0});
    }
    void text(double x, double y, const std::string& text, double points, Colour colour) override {
        drawn.push_back({Primitive::Kind::Text, x, y, 0.0, 0.0, Pen{colour}, text, points});
    }
};

}  // namespace vormgui::test

namespace vormgui::test {

// Expected primitives, written the way a test works them out.
inline plot::Primitive lineAt(double x1, double y1, double x2, double y2, Pen pen = {}) {
    return {plot::Primitive::Kind::Line, x1, y1, x2, y2, pen, {}, 0.0};
}
inline plot::Primitive dotAt(double x, double y, Pen pen = {Colour{}, 4, LineStyle::Solid}) {
    return {plot::Primitive::Kind::Dot, x, y, 0.0, 0.0, pen, {}, 0.0};
}
inline plot::Primitive textAt(double x, double y, std::string text, double points = plot::kTextPoints,
                              Colour colour = {}) {
    return {plot::Primitive::Kind::Text, x, y, 0.0, 0.0, Pen{colour}, std::move(text), points};
}

std::string describe(const plot::Primitive& p);
// Same kinds, pens, texts and sizes, and coordinates within 1e-9.
bool samePrimitive(const plot::Primitive& a, const plot::Primitive& b);
// Fails with the first difference and both lists around it.
void expectPrimitives(const std::vector<plot::Primitive>& actual, const std::vector<plot::Primitive>& expected);

}  // namespace vormgui::test
