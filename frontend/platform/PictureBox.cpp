#include "PictureBox.h"

#include <QPainter>

namespace vormgui {

PictureBox::PictureBox(int widthTwips, int heightTwips, QWidget* parent)
    : QWidget(parent), canvas_(ImageCanvas::pixelsForTwips(widthTwips, heightTwips)) {}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), canvas_.image());
}

}  // namespace vormgui
