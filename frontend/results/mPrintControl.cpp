#include "mPrintControl.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include "platform/Services.h"

namespace vormgui {

void drawPictureOnPage(QPainter& page, const QImage& picture, double pageDpi) {
    const double pictureDpi = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() * 0.0254 : 96.0;
    const double scale = pageDpi / pictureDpi;
    const QRectF target(pageDpi, pageDpi, picture.width() * scale, picture.height() * scale);
    page.drawImage(target, picture);
    // One screen pixel wide, as thin as the frame looks on the screen.
    QPen frame(Qt::black, scale);
    frame.setJoinStyle(Qt::MiterJoin);
    page.setPen(frame);
    page.setBrush(Qt::NoBrush);
    page.drawRect(target);
}

void printPicture(Services& services, const QImage& picture) {
    if (!services.choosePrinter()) return;
    const bool printed = services.print(QStringLiteral("picture"), [&picture](QPrinter& printer) {
        QPainter page;
        if (!page.begin(&printer)) return false;
        drawPictureOnPage(page, picture, printer.logicalDpiX());
        return page.end();
    });
    if (printed)
        services.message(QStringLiteral("Print Job Done"), QStringLiteral("Printer"), MsgIcon::Information,
                         MsgButtons::Ok);
}

}  // namespace vormgui
