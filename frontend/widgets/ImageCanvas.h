// The canvas of a plot window: a white image at a fixed 96 dots per inch, so
// text metrics, and with them every label position, do not depend on the
// screen the program runs on.  It paints as PainterCanvas does.
#pragma once

#include <QImage>

#include "platform/Canvas.h"

namespace vormgui {

class ImageCanvas : public Canvas {
public:
    static constexpr int kDpi = 96;

    // A picture box of the given size in twips (1440 to the inch).
    static QSize pixelsForTwips(int widthTwips, int heightTwips);

    explicit ImageCanvas(QSize pixels);

    const QImage& image() const { return image_; }

    void clear() override;
    double textWidth(const std::string& text, double points) const override;
    double textHeight(double points) const override;
    void line(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void dot(double x, double y, const Pen& pen) override;
    void text(double x, double y, const std::string& text, double points, Colour colour) override;

private:
    QImage image_;
};

}  // namespace vormgui
