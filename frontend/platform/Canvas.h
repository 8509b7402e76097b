// A picture to draw plots on.
//
// Every coordinate is in picture units: the picture is scaled to 1000 by 1000
// with (0, 0) at the top left and y growing downwards, whatever its size in
// pixels.  Text sizes come back in the same units, so a layout can place a
// label by its width and height without knowing the pixels behind them.
// Pen widths are in pixels, as a picture box's draw width is.
#pragma once

#include <cstdint>
#include <string>

namespace vormgui {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

enum class LineStyle { Solid, Dotted };

struct Pen {
    Colour colour;
    int width = 1;
    LineStyle style = LineStyle::Solid;
    bool operator==(const Pen&) const = default;
};

// What a layout needs to know to place text.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // The advance of a one-line text in a font of `points`.
    virtual double textWidth(const std::string& text, double points) const = 0;
    // The height of one line of that font.
    virtual double textHeight(double points) const = 0;
};

class Canvas : public TextMetrics {
public:
    static constexpr double kScale = 1000.0;

    // Fills the whole picture with its background.
    virtual void clear() = 0;
    virtual void line(double x1, double y1, double x2, double y2, const Pen& pen) = 0;
    // A round dot `pen.width` pixels across, centred on the point.
    virtual void dot(double x, double y, const Pen& pen) = 0;
    // A one-line text with its top left corner at the point.
    virtual void text(double x, double y, const std::string& text, double points, Colour colour) = 0;
};

}  // namespace vormgui
