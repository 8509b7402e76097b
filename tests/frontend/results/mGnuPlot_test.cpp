#include "results/mGnuPlot.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "RecordingCanvas.h"
#include "gui_test_support.h"
#include "widgets/ImageCanvas.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

const QString kGeneral = QStringLiteral(
    "message Error as plotting!: Error when opening the file for plot. "
    "Please check file name.");
const QString kOverflow = QStringLiteral("message Overflow!: More than 4095 records!! Please check your data file.");

QByteArray scriptWith(const QByteArray& yRangeLine, const QByteArray& plotLine = "plot \"a.dat\" using 1:2 with lines",
                      const QByteArray& yLabel = "Prob.", const QByteArray& xRangeLine = "set xrange [-4:4]") {
    return "set title \"A\\nB\"\r\nset xlabel \"Theta\"\r\nset ylabel \"" + yLabel + "\"\r\n" + xRangeLine + "\r\n" +
           yRangeLine + "\r\nset term postscript\r\nset output \"a.ps\"\r\nset data style lp\r\n" + plotLine + "\r\n";
}

QByteArray records(int n, int columns = 2) {
    QByteArray bytes;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < columns; ++c) bytes += QByteArray::number(c == 0 ? -4 + r * 0.001 : 0.5) + ' ';
        bytes += "\r\n";
    }
    return bytes;
}

class GnuPlotTest : public ::testing::Test {
protected:
    bool draw(test::RecordingCanvas& canvas, const QByteArray& data, const QByteArray& script) {
        writeFile(folder.file("A.DAT"), data);
        writeFile(folder.file("A.SCR"), script);
        return renderer.plotScriptFile(canvas, folder.file("A.SCR"), folder.file("A.DAT"));
    }
    TempFolder folder;
    RecordingServices rec;
    mGnuPlot renderer{rec, "VORM2004"};
};

TEST_F(GnuPlotTest, ReadingLimitsAndFailures) {
    const QByteArray ok = scriptWith("set yrange [0:1]");
    const struct {
        const char* what;
        QByteArray data, script;
        bool drawn;
        QString message;
    } cases[] = {
        {"4095 records draw", records(4095), ok, true, {}},
        {"4096 records overflow", records(4096), ok, false, kOverflow},
        {"a record spread over lines", "-4\r\n.5\r\n4 .7\r\n", ok, true, {}},
        {"a zero-byte data file", "", ok, false, kGeneral},
        {"an empty first line", "\r\n-4 .5\r\n4 .7\r\n", ok, false, kGeneral},
        {"a field that is not a number", "-4 .5\r\n4 ,7\r\n", ok, false, kGeneral},
        {"a script of eight lines", records(3), ok.left(ok.lastIndexOf("plot")), false, kGeneral},
        {"a 5-column using", records(3, 5), scriptWith("set yrange [0:1]", "plot \"a\" using 1:2:3:4:5 with lines"),
         false, kGeneral},
        {"a 3-column using draws nothing",
         records(3, 3),
         scriptWith("set yrange [0:1]", "plot \"a\" using 1:2:3 x"),
         true,
         {}},
        {"a column beyond the data reads 0",
         records(3),
         scriptWith("set yrange [0:1]", "plot \"a\" using 1:32 x"),
         true,
         {}},
        {"a column above 32", records(3), scriptWith("set yrange [0:1]", "plot \"a\" using 1:33 x"), false, kGeneral},
        {"a plot line without using", records(3), scriptWith("set yrange [0:1]", "plot \"a\" 1:2 with lines"), false,
         kGeneral},
        {"using at the end of the line", records(3), scriptWith("set yrange [0:1]", "plot \"a\" using"), false,
         kGeneral},
        {"no plot line", records(3), scriptWith("set yrange [0:1]", "set key"), false, kGeneral},
        {"a range without colon", records(3), scriptWith("set yrange [0 1]"), false, kGeneral},
        {"a range with a decimal comma", records(3), scriptWith("set yrange [0:0,5]"), false, kGeneral},
        {"a title line too short", records(3), "set title \r\n" + ok.mid(ok.indexOf('\n') + 1), false, kGeneral},
        {"a zero-length x range", records(3),
         scriptWith("set yrange [0:1]", "plot \"a\" using 1:2 x", "Prob.", "set xrange [2:2]"), false, kGeneral},
        {"a flat y range with a y label", records(3), scriptWith("set yrange [1:1]"), false, kGeneral},
        {"a flat y range with a blank y label",
         records(3),
         scriptWith("set yrange [1:1]", "plot \"a\" using 1:2 x", " "),
         true,
         {}},
    };
    for (const auto& c : cases) {
        rec.log.clear();
        test::RecordingCanvas canvas;
        EXPECT_EQ(draw(canvas, c.data, c.script), c.drawn) << c.what;
        EXPECT_EQ(rec.log, c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.what;
        EXPECT_EQ(canvas.clears, 1) << c.what;
        for (const auto& m : rec.messages) EXPECT_EQ(m.icon, MsgIcon::Critical) << c.what;
        rec.messages.clear();
    }
}

TEST_F(GnuPlotTest, AScriptWithoutYRangeKeepsThePreviousPlotsRangeInAnotherWindow) {
    test::RecordingCanvas first, second;
    ASSERT_TRUE(draw(first, "-4 0\r\n4 5\r\n", scriptWith("set yrange [0:5]")));
    // A second window draws with the same renderer, from a script without a
    // y range: 5 still maps to the frame top and 0 to its bottom.
    ASSERT_TRUE(draw(second, "-4 0\r\n4 5\r\n", scriptWith("set key")));
    EXPECT_TRUE(std::any_of(second.drawn.begin(), second.drawn.end(), [](const auto& p) {
        return test::samePrimitive(p, test::lineAt(125, 875, 900, 200));
    })) << "the curve from (-4, 0) to (4, 5) runs from corner to corner";
}

TEST_F(GnuPlotTest, SavedBitmapReloadsAndTheOverwriteQuestionGuardsTheOldFile) {
    ImageCanvas picture(ImageCanvas::pixelsForTwips(7815, 6255));
    writeFile(folder.file("A.DAT"), "-4 0\r\n0 .9\r\n4 .2\r\n");
    writeFile(folder.file("A.SCR"), scriptWith("set yrange [0:1]"));
    ASSERT_TRUE(renderer.plotScriptFile(picture, folder.file("A.SCR"), folder.file("A.DAT")));

    FileChoice dialog;
    rec.fileAnswers = {folder.file("plot"), folder.file("plot"), folder.file("plot"), folder.file("Mine.bmp"), ""};
    rec.answers = {MsgAnswer::No, MsgAnswer::Yes};
    const QString saved = folder.file("plot.BMP");
    renderer.savePlotAsBitmap(picture.image(), dialog);
    EXPECT_EQ(dialog.filter, "*.bmp");
    const QImage reloaded(saved);
    ASSERT_EQ(reloaded.size(), QSize(521, 417));
    EXPECT_EQ(reloaded.convertToFormat(QImage::Format_RGB32), picture.image());

    writeFile(saved, "old bytes");
    renderer.savePlotAsBitmap(picture.image(), dialog);  // No
    EXPECT_EQ(readFile(saved), "old bytes");
    renderer.savePlotAsBitmap(picture.image(), dialog);  // Yes
    EXPECT_EQ(QImage(saved).convertToFormat(QImage::Format_RGB32), picture.image());
    renderer.savePlotAsBitmap(picture.image(), dialog);  // a name that ends in .bmp keeps it
    EXPECT_TRUE(QFile::exists(folder.file("Mine.bmp")));
    EXPECT_FALSE(QFile::exists(folder.file("Mine.bmp.BMP")));
    renderer.savePlotAsBitmap(picture.image(), dialog);  // Cancel
    const QString question = "File  '" + saved + "' exists! Do you want to overwrite it?";
    EXPECT_EQ(rec.messageTexts(), (QStringList{question, question}));
    EXPECT_EQ(rec.messages[0].title, "VORM2004");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(rec.messages[0].buttons, MsgButtons::YesNo);
}

}  // namespace
}  // namespace vormgui
