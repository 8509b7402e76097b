#include "mPrintControl.h"

#include <QPainter>
#include <QPrinter>

#include "platform/Services.h"
#include "widgets/PainterCanvas.h"
#include "widgets/PictureBox.h"

namespace vormgui {

void drawPictureOnPage(QPainter& page, const PictureBox& picture) {
    const double dpi = page.device()->logicalDpiX();
    const QRectF target(dpi, dpi, picture.widthTwips() * dpi / 1440.0, picture.heightTwips() * dpi / 1440.0);
    PainterCanvas canvas(page, target);
    picture.paintDrawing(canvas);
    // One screen pixel wide, as thin as the frame looks on the screen.
    QPen frame(Qt::black, dpi / PainterCanvas::kPictureDpi);
    frame.setJoinStyle(Qt::MiterJoin);
    page.setPen(frame);
    page.setBrush(Qt::NoBrush);
    page.drawRect(target);
}

void printPicture(Services& services, const PictureBox& picture) {
    if (!services.choosePrinter()) return;
    const bool printed = services.print(QStringLiteral("picture"), [&picture](QPrinter& printer) {
        QPainter page;
        if (!page.begin(&printer)) return false;
        drawPictureOnPage(page, picture);
        return page.end();
    });
    if (printed)
        services.message(QStringLiteral("Print Job Done"), QStringLiteral("Printer"), MsgIcon::Information,
                         MsgButtons::Ok);
}

}  // namespace vormgui
