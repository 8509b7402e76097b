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

}  // namespace
}  // namespace vormgui
