#include "ImageCanvas.h"

#include <QPainter>
#include <cmath>

#include "PainterCanvas.h"

namespace vormgui {

namespace {

// 96 dots per inch as dots per metre; Qt rounds it back to 96 for fonts.
constexpr int kDotsPerMetre = 3780;
static_assert(ImageCanvas::kDpi == PainterCanvas::kPictureDpi);

}  // namespace

QSize ImageCanvas::pixelsForTwips(int widthTwips, int heightTwips) {
    return {static_cast<int>(std::lround(widthTwips * double(kDpi) / 1440.0)),
            static_cast<int>(std::lround(heightTwips * double(kDpi) / 1440.0))};
}

ImageCanvas::ImageCanvas(QSize pixels) : image_(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32) {
    image_.setDotsPerMeterX(kDotsPerMetre);
    image_.setDotsPerMeterY(kDotsPerMetre);
    clear();
}

void ImageCanvas::clear() { image_.fill(Qt::white); }

double ImageCanvas::textWidth(const std::string& text, double points) const {
    return PainterCanvas::textWidth(image_, image_.rect(), text, points);
}

double ImageCanvas::textHeight(double points) const { return PainterCanvas::textHeight(image_, image_.rect(), points); }

void ImageCanvas::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    QPainter painter(&image_);
    PainterCanvas(painter, image_.rect()).line(x1, y1, x2, y2, pen);
}

void ImageCanvas::dot(double x, double y, const Pen& pen) {
    QPainter painter(&image_);
    PainterCanvas(painter, image_.rect()).dot(x, y, pen);
}

void ImageCanvas::text(double x, double y, const std::string& text, double points, Colour colour) {
    QPainter painter(&image_);
    PainterCanvas(painter, image_.rect()).text(x, y, text, points, colour);
}

}  // namespace vormgui
