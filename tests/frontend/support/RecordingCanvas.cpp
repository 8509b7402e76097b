#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace vormgui::test {

std::string describe(const plot::Primitive& p) {
    std::ostringstream s;
    s.precision(12);
    const Pen& pen = p.pen;
    const char* kinds[] = {"line", "dot", "text"};
    s << kinds[static_cast<int>(p.kind)] << ' ' << p.x1 << ' ' << p.y1;
    if (p.kind == plot::Primitive::Kind::Line) s << ' ' << p.x2 << ' ' << p.y2;
    if (p.kind == plot::Primitive::Kind::Text) s << " \"" << p.text << "\" " << p.points << "pt";
    s << " rgb(" << int(pen.colour.r) << ',' << int(pen.colour.g) << ',' << int(pen.colour.b) << ')';
    if (p.kind != plot::Primitive::Kind::Text)
        s << " w" << pen.width << (pen.style == LineStyle::Dotted ? " dotted" : "");
    return s.str();
}

bool samePrimitive(const plot::Primitive& a, const plot::Primitive& b) {
    auto near = [](double u, double v) { return std::fabs(u - v) <= 1e-9; };
    const bool text = a.kind == plot::Primitive::Kind::Text;
    return a.kind == b.kind && near(a.x1, b.x1) && near(a.y1, b.y1) && near(a.x2, b.x2) && near(a.y2, b.y2) &&
           a.text == b.text && near(a.points, b.points) && (text ? a.pen.colour == b.pen.colour : a.pen == b.pen);
}

void expectPrimitives(const std::vector<plot::Primitive>& actual, const std::vector<plot::Primitive>& expected) {
    std::size_t i = 0;
    while (i < actual.size() && i < expected.size() && samePrimitive(actual[i], expected[i])) ++i;
    if (i == actual.size() && i == expected.size()) return;
    std::ostringstream s;
    s << "primitives differ at " << i << " (" << actual.size() << " drawn, " << expected.size() << " expected)\n";
    for (std::size_t k = i > 2 ? i - 2 : 0; k < i + 3; ++k) {
        s << "  [" << k << "] drawn:    " << (k < actual.size() ? describe(actual[k]) : "-") << '\n';
        s << "  [" << k << "] expected: " << (k < expected.size() ? describe(expected[k]) : "-") << '\n';
    }
    ADD_FAILURE() << s.str();
}

}  // namespace vormgui::test
