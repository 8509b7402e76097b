// A canvas painted through a QPainter into a rectangle of its device: the
// screen picture's image (ImageCanvas) and a printed page.  Lines, dots and
// texts stay what they are on the device (on a PDF page: vectors and text).
// A picture box's pixel is 1/96 inch: pen widths scale by the device's
// resolution over 96, and fonts in points take the device's own resolution,
// so a page shows the picture at the size the screen's picture box has.
// Text is DejaVu Sans Condensed: the plot layouts leave room for labels by
// counting characters, which a narrow face fills without running into the
// frame or into each other.
#pragma once

#include <QFont>
#include <QRectF>

#include "platform/Canvas.h"

class QPaintDevice;
class QPainter;

namespace vormgui {

class PainterCanvas : public Canvas {
public:
    static constexpr int kPictureDpi = 96;

    // `area` in the device's pixels; the painter stays open meanwhile.
    PainterCanvas(QPainter& painter, const QRectF& area);

    void clear() override;
    double textWidth(const std::string& text, double points) const override;
    double textHeight(double points) const override;
    void line(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void dot(double x, double y, const Pen& pen) override;
    void text(double x, double y, const std::string& text, double points, Colour colour) override;

    static QFont plotFont(double points);
    // Text sizes in picture units on `device` for a picture `area` wide and high.
    static double textWidth(const QPaintDevice& device, const QRectF& area, const std::string& text, double points);
    static double textHeight(const QPaintDevice& device, const QRectF& area, double points);

private:
    QPointF toDevice(double x, double y) const;
    double penWidth(const Pen& pen) const;

    QPainter& painter_;
    QRectF area_;
    double pixel_;  // device pixels per picture-box pixel
};

}  // namespace vormgui
