#include "results/mPrintControl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "gui_test_support.h"
#include "results/mGnuPlot.h"
#include "widgets/PictureBox.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

TEST(PrintPicture, PrintsThePlotsLinesAndTextsThroughTheSeamAndSaysPrintJobDoneWithoutExclamationMark) {
    test::TempFolder out;
    test::writeFile(out.file("PLOT305.DAT"), "-4 .1\r\n0 .5\r\n4 .9\r\n");
    test::writeFile(out.file("PLOT305.SCR"),
                    "set title \"Item Characteristic Curve\\nItem#: 5\"\r\nset xlabel \"Theta\"\r\n"
                    "set ylabel \"Expected Score\"\r\nset xrange [-4:4]\r\nset yrange [0:1]\r\nset term postscript\r\n"
                    "set output \"x.ps\"\r\nset data style lp\r\nplot \"x.dat\" using 1:2 notitle with lines\r\n");
    RecordingServices rec;
    PictureBox picture(7815, 6255, nullptr);
    mGnuPlot renderer(rec, QStringLiteral("VORM2004"));
    ASSERT_TRUE(renderer.plotScriptFile(picture.canvas(), out.file("PLOT305.SCR"), out.file("PLOT305.DAT")));

    rec.printerChosen = false;
    printPicture(rec, picture);
    EXPECT_EQ(rec.log, QStringList{"printer"}) << "a cancelled choice prints nothing and says nothing";

    rec.log.clear();
    rec.printerChosen = true;
    rec.printToPdf = out.file(QStringLiteral("plot.pdf"));
    printPicture(rec, picture);
    EXPECT_EQ(rec.log, (QStringList{"printer", "print picture", "message Printer: Print Job Done"}));
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Information);
    // Painted at the printer's resolution, not copied from the screen: the
    // texts are text on the page, and the page holds no picture.
    const QString text = test::popplerOutput(QStringLiteral("pdftotext"), {rec.printToPdf, QStringLiteral("-")});
    for (const char* shown : {"Item Characteristic Curve", "Item#: 5", "Theta", "Expected Score"})
        EXPECT_TRUE(text.contains(QLatin1String(shown))) << shown << " is not text on the page";
    const QStringList images =
        test::popplerOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), rec.printToPdf})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(images.size(), 2) << "the page holds a picture:\n" << images.join(QLatin1Char('\n')).toStdString();
}

TEST(PrintPicture, StandsOneInchInAtThePictureBoxsSizeInsideAFrame) {
    // A picture box of 1500 by 750 twips on a 192-dpi page: one inch is 192
    // page pixels, the picture 200 by 100 of them.  A red line runs across
    // its middle.
    PictureBox picture(1500, 750, nullptr);
    picture.canvas().line(0, 500, 1000, 500, Pen{Colour{255, 0, 0}});
    QImage page(600, 400, QImage::Format_RGB32);
    page.setDotsPerMeterX(7559);
    page.setDotsPerMeterY(7559);
    page.fill(Qt::gray);
    {
        QPainter painter(&page);
        drawPictureOnPage(painter, picture);
    }
    const struct {
        int x, y;
        QColor colour;
    } probes[] = {{292, 242, Qt::red},   {196, 242, Qt::red},   {292, 220, Qt::white}, {292, 280, Qt::white},
                  {150, 150, Qt::gray},  {400, 242, Qt::gray},  {292, 300, Qt::gray},  {192, 242, Qt::black},
                  {392, 242, Qt::black}, {292, 192, Qt::black}, {292, 292, Qt::black}};
    for (const auto& p : probes) EXPECT_EQ(page.pixelColor(p.x, p.y), p.colour) << p.x << ',' << p.y;
}

}  // namespace
}  // namespace vormgui
