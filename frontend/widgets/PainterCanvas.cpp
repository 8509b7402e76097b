#include "PainterCanvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace vormgui {

namespace {

QColor qColour(Colour c) { return QColor(c.r, c.g, c.b); }

QString qText(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, const QRectF& area)
    : painter_(painter), area_(area), pixel_(painter.device()->logicalDpiX() / double(kPictureDpi)) {}

QFont PainterCanvas::plotFont(double points) {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(points);
    return font;
}

double PainterCanvas::textWidth(const QPaintDevice& device, const QRectF& area, const std::string& text,
                                double points) {
    const QFontMetricsF metrics(plotFont(points), &device);
    return metrics.horizontalAdvance(qText(text)) * kScale / area.width();
}

double PainterCanvas::textHeight(const QPaintDevice& device, const QRectF& area, double points) {
    const QFontMetricsF metrics(plotFont(points), &device);
    return metrics.height() * kScale / area.height();
}

double PainterCanvas::textWidth(const std::string& text, double points) const {
    return textWidth(*painter_.device(), area_, text, points);
}

double PainterCanvas::textHeight(double points) const { return textHeight(*painter_.device(), area_, points); }

QPointF PainterCanvas::toDevice(double x, double y) const {
    return {area_.left() + x * area_.width() / kScale, area_.top() + y * area_.height() / kScale};
}

double PainterCanvas::penWidth(const Pen& pen) const { return std::max(pen.width, 1) * pixel_; }

void PainterCanvas::clear() { painter_.fillRect(area_, Qt::white); }

void PainterCanvas::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    painter_.save();
    QPen qpen(qColour(pen.colour), penWidth(pen));
    qpen.setStyle(pen.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    qpen.setCapStyle(Qt::SquareCap);
    painter_.setPen(qpen);
    painter_.drawLine(QLineF(toDevice(x1, y1), toDevice(x2, y2)));
    painter_.restore();
}

void PainterCanvas::dot(double x, double y, const Pen& pen) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(qColour(pen.colour));
    const double radius = penWidth(pen) / 2.0;
    painter_.drawEllipse(toDevice(x, y), radius, radius);
    painter_.restore();
}

void PainterCanvas::text(double x, double y, const std::string& text, double points, Colour colour) {
    painter_.save();
    const QFont font = plotFont(points);
    painter_.setFont(font);
    painter_.setPen(qColour(colour));
    const QPointF topLeft = toDevice(x, y);
    painter_.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font, painter_.device()).ascent()), qText(text));
    painter_.restore();
}

}  // namespace vormgui
