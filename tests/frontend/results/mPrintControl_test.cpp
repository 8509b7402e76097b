#include "results/mPrintControl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "gui_test_support.h"
#include "platform/ImageCanvas.h"
#include "platform/RecordingServices.h"

namespace vormgui {
namespace {

TEST(PrintPicture, PrintsThroughTheSeamAndSaysPrintJobDoneWithoutExclamationMark) {
    test::TempFolder out;
    RecordingServices rec;
    rec.printerChosen = false;
    const ImageCanvas picture(ImageCanvas::pixelsForTwips(7815, 6255));
    printPicture(rec, picture.image());
    EXPECT_EQ(rec.log, QStringList{"printer"}) << "a cancelled choice prints nothing and says nothing";

    rec.log.clear();
    rec.printerChosen = true;
    rec.printToPdf = out.file(QStringLiteral("plot.pdf"));
    printPicture(rec, picture.image());
    EXPECT_EQ(rec.log, (QStringList{"printer", "print picture", "message Printer: Print Job Done"}));
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Information);
    const QByteArray pdf = test::readFile(rec.printToPdf);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Width 521") && pdf.contains("/Height 417")) << "the picture's own pixels";
}

TEST(PrintPicture, StandsOneInchInAtItsScreenSizeInsideAFrame) {
    // A 96-dpi picture of 100 by 50 pixels on a 192-dpi page: one inch is 192
    // page pixels, the picture 200 by 100 of them.
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    picture.fill(Qt::red);
    QImage page(600, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        drawPictureOnPage(painter, picture, 192);
    }
    const struct {
        int x, y;
        QColor colour;
    } probes[] = {{292, 242, Qt::red},   {196, 196, Qt::red},   {150, 150, Qt::white}, {292, 180, Qt::white},
                  {400, 242, Qt::white}, {292, 300, Qt::white}, {192, 242, Qt::black}, {392, 242, Qt::black},
                  {292, 192, Qt::black}, {292, 292, Qt::black}};
    for (const auto& p : probes) EXPECT_EQ(page.pixelColor(p.x, p.y), p.colour) << p.x << ',' << p.y;
}

}  // namespace
}  // namespace vormgui
