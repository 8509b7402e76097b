#include "widgets/printText.h"

#include <gtest/gtest.h>

#include "gui_test_support.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

TEST(PrintText, ACancelledPrinterChoicePrintsNothingAndSaysNothing) {
    RecordingServices rec;
    rec.printerChosen = false;
    printText(rec, QStringLiteral("8             model\r\n"));
    EXPECT_EQ(rec.log, QStringList{"printer"});
    EXPECT_TRUE(rec.messages.empty());
}

TEST(PrintText, PrintsThroughTheSeamToAPdfAndSaysPrintJobDone) {
    test::TempFolder out;
    RecordingServices rec;
    rec.printToPdf = out.file(QStringLiteral("job.pdf"));
    QString text;
    for (int line = 1; line <= 150; ++line)
        text += QStringLiteral("line %1 of a job long enough for pages\r\n").arg(line);
    printText(rec, text);

    EXPECT_EQ(rec.log, (QStringList{"printer", "print " + text, "message Printer: Print Job Done!"}));
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Information);
    const QByteArray pdf = test::readFile(rec.printToPdf);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // 150 lines at 12 points cannot stand on one page.
    EXPECT_GE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2)
        << "the text ran off the first page";
}

// A report line wider than the page, broken by hand: at the last blank that
// fits, the blanks there dropped, the rest indented by four.
TEST(ReportLinePieces, BreakAtTheLastBlankThatFitsAndIndentTheRest) {
    const struct {
        const char* line;
        qsizetype width;
        QStringList pieces;
    } cases[] = {
        {"", 10, {""}},
        {"  ALPHA= 0.9   ", 12, {"  ALPHA= 0.9"}},
        {" ALPHA=  0.90417595 ASTD=  0.07312599", 20, {" ALPHA=  0.90417595", "    ASTD=", "    0.07312599"}},
        // A blank just past the edge ends a piece that fills the line.
        {"12345 7890 ABC", 10, {"12345 7890", "    ABC"}},
        {"12345 78901 ABC", 10, {"12345", "    78901", "    ABC"}},
        // No blank to break at: cut at the edge, also on a continuation.
        {"/TEMPFILE/CMDFLE", 10, {"/TEMPFILE/", "    CMDFLE"}},
        {"IS: /TEMPFILE/CMDFLE", 10, {"IS:", "    /TEMPF", "    ILE/CM", "    DFLE"}},
        {"     /TEMPFILE/CMDFLE", 10, {"     /TEMP", "    FILE/C", "    MDFLE"}},
        // The indent takes at most half a narrow page.
        {"AB CD EF", 4, {"AB", "  CD", "  EF"}},
        {"ABC", 1, {"A", "B", "C"}},
    };
    for (const auto& k : cases)
        EXPECT_EQ(reportLinePieces(QString::fromLatin1(k.line), k.width), k.pieces) << '"' << k.line << '"';
}

}  // namespace
}  // namespace vormgui
