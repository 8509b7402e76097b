#include "PictureBox.h"

#include <QPainter>

namespace vormgui {

PictureBox::PictureBox(int widthTwips, int heightTwips, QWidget* parent)
    : QWidget(parent),
      widthTwips_(widthTwips),
      heightTwips_(heightTwips),
      drawing_(ImageCanvas::pixelsForTwips(widthTwips, heightTwips)) {}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), image());
}

void PictureBox::paintDrawing(Canvas& target) const {
    target.clear();
    for (const auto& call : drawing_.calls) call(target);
}

void PictureBox::restore(const Drawn& drawn) {
    // Replayed from a clear picture, the calls paint the very same image.
    Drawn calls = drawn;
    drawing_.clear();
    for (auto& call : calls) drawing_.draw(std::move(call));
    update();
}

void PictureBox::Drawing::draw(std::function<void(Canvas&)> call) {
    call(image);
    calls.push_back(std::move(call));
}

void PictureBox::Drawing::clear() {
    image.clear();
    calls.clear();
}

double PictureBox::Drawing::textWidth(const std::string& text, double points) const {
    return image.textWidth(text, points);
}

double PictureBox::Drawing::textHeight(double points) const { return image.textHeight(points); }

void PictureBox::Drawing::line(double x1, double y1, double x2, double y2, const Pen& pen) {
    draw([=](Canvas& c) { c.line(x1, y1, x2, y2, pen); });
}

void PictureBox::Drawing::dot(double x, double y, const Pen& pen) {
    draw([=](Canvas& c) { c.dot(x, y, pen); });
}

void PictureBox::Drawing::text(double x, double y, const std::string& text, double points, Colour colour) {
    draw([=](Canvas& c) { c.text(x, y, text, points, colour); });
}

}  // namespace vormgui
