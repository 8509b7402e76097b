// A picture box: a widget that shows, and keeps, what was drawn on its
// ImageCanvas, so the drawing can be saved and printed and survives being
// covered.  The image is at 96 dots per inch whatever the screen; the widget
// stretches it when the screen's own resolution differs.
#pragma once

#include <QWidget>

#include "ImageCanvas.h"

namespace vormgui {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    // A picture of the given size in twips.
    PictureBox(int widthTwips, int heightTwips, QWidget* parent);

    Canvas& canvas() { return canvas_; }
    const QImage& image() const { return canvas_.image(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageCanvas canvas_;
};

}  // namespace vormgui
