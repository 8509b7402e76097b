// A picture box: a widget that shows, and keeps, what was drawn on it, so the
// drawing can be saved and printed and survives being covered.  It keeps the
// drawing twice: as a 96-dpi image (ImageCanvas) that the screen shows and
// Save As writes, stretched where the screen's own resolution differs, and
// as the list of what was drawn since the last clear, which paints the same
// picture anew on another canvas at that canvas's own resolution (a printed
// page).
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "ImageCanvas.h"

namespace vormgui {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    // A picture of the given size in twips.
    PictureBox(int widthTwips, int heightTwips, QWidget* parent);

    Canvas& canvas() { return drawing_; }
    const QImage& image() const { return drawing_.image.image(); }
    int widthTwips() const { return widthTwips_; }
    int heightTwips() const { return heightTwips_; }

    // Draws what the picture holds on `target`, from its clearing on.
    void paintDrawing(Canvas& target) const;

    // What the picture holds, to be put back when a drawing that replaced it
    // fails half-way.
    using Drawn = std::vector<std::function<void(Canvas&)>>;
    const Drawn& drawn() const { return drawing_.calls; }
    void restore(const Drawn& drawn);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Draws on the image and keeps each call.
    class Drawing : public Canvas {
    public:
        explicit Drawing(QSize pixels) : image(pixels) {}

        void clear() override;
        double textWidth(const std::string& text, double points) const override;
        double textHeight(double points) const override;
        void line(double x1, double y1, double x2, double y2, const Pen& pen) override;
        void dot(double x, double y, const Pen& pen) override;
        void text(double x, double y, const std::string& text, double points, Colour colour) override;

        ImageCanvas image;
        Drawn calls;

        void draw(std::function<void(Canvas&)> call);
    };

    int widthTwips_, heightTwips_;
    Drawing drawing_;
};

}  // namespace vormgui
