#include "ImageCanvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace vormgui {

namespace {

// 96 dots per inch as dots per metre; Qt rounds it back to 96 for fonts.
constexpr int kDotsPerMetre = 3780;

QFont plotFont(double points) {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(points);
    return font;
}

QColor qColour(Colour c) { return QColor(c.r, c.g, c.b); }

QString qText(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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

QPointF ImageCanvas::toPixels(double x, double y) const {
    return {x * image_.width() / kScale, y * image_.height() / kScale};
}

double ImageCanvas::textWidth(const std::string& text, double points) const {
    const QFontMetricsF metrics(plotFont(points), &image_);
    return metrics.horizontalAdvance(qText(text)) * kScale / image_.width();
}

double ImageCanvas::textHeight(double points) const {
    const QFontMetricsF metrics(plotFont(points), &image_);
    return metrics.height() * kScale / image_.height();
}

void ImageCanvas::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    QPainter painter(&image_);
    QPen qpen(qColour(pen.colour), std::max(pen.width, 1));
    qpen.setStyle(pen.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    qpen.setCapStyle(Qt::SquareCap);
    painter.setPen(qpen);
    painter.drawLine(QLineF(toPixels(x1, y1), toPixels(x2, y2)));
}

void ImageCanvas::dot(double x, double y, const Pen& pen) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(qColour(pen.colour));
    const double radius = std::max(pen.width, 1) / 2.0;
    painter.drawEllipse(toPixels(x, y), radius, radius);
}

void ImageCanvas::text(double x, double y, const std::string& text, double points, Colour colour) {
    QPainter painter(&image_);
    const QFont font = plotFont(points);
    painter.setFont(font);
    painter.setPen(qColour(colour));
    const QPointF topLeft = toPixels(x, y);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font, &image_).ascent()), qText(text));
}

}  // namespace vormgui
