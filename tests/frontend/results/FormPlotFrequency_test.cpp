#include "results/FormPlotFrequency.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QPushButton>

#include "engine_jobs.h"
#include "gui_test_support.h"
#include "results/ReportWindows.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

QStringList shownBy(const FormPlotFrequency& window) { return test::shownBy(*window.MSChartResponseFrequency); }

// Prints as the recorder does, noting whether the buttons were on the window then.
class PrintWatcher : public RecordingServices {
public:
    QList<QPushButton*> buttons;
    QList<bool> shownWhilePrinting;

    bool print(const QString& what, const PrintDrawing& draw) override {
        for (QPushButton* b : buttons) shownWhilePrinting << !b->isHidden();
        return RecordingServices::print(what, draw);
    }
};

class FormPlotFrequencyTest : public ::testing::Test {
protected:
    FormPlotFrequencyTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir(root.path()).mkpath(QStringLiteral("app/TEMPFILE"));
    }
    void writeReport(const QByteArray& rows) {
        test::writeFile(paths.workFile("FT06F001"),
                        " READ.\n \n  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******\n \n"
                        " ITEM#     1    2    3   -9\n ---\n" +
                            rows);
    }

    test::TempFolder root;
    AppPaths paths;
    PrintWatcher rec;
};

TEST_F(FormPlotFrequencyTest, BarsAreTheCountsOfTheItemOnShowAndNavigationStopsAtTheEnds) {
    writeReport("    4    10   20   30    1\n    9    40   50    0    2\n \n");
    FormPlotFrequency window(rec, paths);
    ASSERT_TRUE(window.Form_Load());
    const QStringList first{"Response Frequency of Item #4", "Response 1 10", "Response 2 20", "Response 3 30"};
    EXPECT_EQ(shownBy(window), first);
    window.CommandPrevious_Click();
    EXPECT_EQ(shownBy(window), first);
    window.CommandNext_Click();
    const QStringList second{"Response Frequency of Item #9", "Response 1 40", "Response 2 50", "Response 3 0"};
    EXPECT_EQ(shownBy(window), second);
    window.CommandNext_Click();
    EXPECT_EQ(shownBy(window), second);
    window.CommandPrevious_Click();
    EXPECT_EQ(window.itemOnShow(), 1);
    EXPECT_EQ(rec.log, (QStringList{"message No Previous Item: You are at the first item in the list. There are no "
                                    "previous items.",
                                    "message No Next Item: You are at the last item in the list. There are no "
                                    "further items."}));
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(rec.messages[1].icon, MsgIcon::Exclamation);
}

// The window as the screen shows it, once the chart's scene has caught up
// with every change.
QImage shown(FormPlotFrequency& window) {
    window.show();
    for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
    return window.grab().toImage();
}

// The picture of a freshly made window over the report as it stands.
QImage freshPicture(RecordingServices& rec, const AppPaths& paths) {
    FormPlotFrequency fresh(rec, paths);
    EXPECT_TRUE(fresh.Form_Load());
    return shown(fresh);
}

TEST_F(FormPlotFrequencyTest, AReopenedChartShowsWhatAFreshOneShows) {
    writeReport(
        "    1    10   20   30    1\n    2    40   50    0    2\n    3    40   50    0    2\n"
        "    4    10   20   30    1\n \n");
    FormPlotFrequency window(rec, paths);
    ASSERT_TRUE(window.Form_Load());
    shown(window);
    for (int k = 0; k < 3; ++k) window.CommandNext->click();
    QCoreApplication::processEvents();
    window.hide();

    // Opened again over the same report: item #1, with none of item #4 left over.
    ASSERT_TRUE(window.Form_Load());
    EXPECT_TRUE(shown(window) == freshPicture(rec, paths)) << "the reopened chart differs from a fresh one";
    window.hide();

    // After a new run with counts a hundred times larger: a new value axis.
    writeReport("    1  1000 2000 3000  100\n    2  4000 5000    0  200\n \n");
    ASSERT_TRUE(window.Form_Load());
    EXPECT_TRUE(shown(window) == freshPicture(rec, paths)) << "the chart after a new run differs from a fresh one";
    window.hide();

    // Laid out small first, as a window system may lay a window out before
    // it shows it: counts that stood upright there lie across their bars
    // once there is room.
    test::writeFile(paths.workFile("FT06F001"),
                    "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******\n \n"
                    " ITEM#     1    2    3    4    5    6   -9\n ---\n"
                    "    1   381  190  100   62   43   24    0\n \n");
    ASSERT_TRUE(window.Form_Load());
    QChart& chart = *window.MSChartResponseFrequency->chart();
    const QSizeF size = chart.size();
    chart.resize(40, 40);
    QCoreApplication::processEvents();
    chart.resize(size);
    EXPECT_TRUE(shown(window) == freshPicture(rec, paths)) << "the chart laid out small first differs";
}

TEST_F(FormPlotFrequencyTest, TenCategoriesOfFourDigitCountsStayReadable) {
    test::writeFile(paths.workFile("FT06F001"),
                    "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******\n \n"
                    " ITEM#     1    2    3    4    5    6    7    8    9   10   -9\n ---\n"
                    "    1  1212 1212 1210 1999 1888 1777 1666 1555 1444 1333\n    0\n \n");
    FormPlotFrequency window(rec, paths);
    ASSERT_TRUE(window.Form_Load());
    shown(window);
    QChart& chart = *window.MSChartResponseFrequency->chart();
    const QRectF area = chart.plotArea();
    const QList<QBarSet*> sets = static_cast<QBarSeries*>(chart.series().front())->barSets();
    ASSERT_EQ(sets.size(), 10);

    // Where the bars and their counts stand in the chart's scene.
    QList<QRectF> bars, counts;
    for (QGraphicsItem* item : chart.scene()->items()) {
        if (!item->isVisible()) continue;
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item)) {
            for (const QBarSet* set : sets)
                if (text->toPlainText() == QString::number(set->at(0))) {
                    counts << text->sceneBoundingRect();
                    break;
                }
        } else if (auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(item);
                   rect && area.intersects(rect->sceneBoundingRect())) {
            for (QBarSet* set : sets)
                if (rect->brush().color() == set->color()) bars << rect->sceneBoundingRect();
        }
    }
    ASSERT_EQ(bars.size(), 10);
    ASSERT_EQ(counts.size(), 10);
    double left = area.right(), right = area.left();
    for (const QRectF& bar : bars) left = std::min(left, bar.left()), right = std::max(right, bar.right());
    EXPECT_GT(right - left, 0.8 * area.width()) << "the bars stand over the chart's width";
    for (int i = 0; i < counts.size(); ++i) {
        EXPECT_TRUE(area.contains(counts[i])) << "a count runs out of the chart";
        for (int j = i + 1; j < counts.size(); ++j) EXPECT_FALSE(counts[i].intersects(counts[j])) << "two counts touch";
    }
}

TEST_F(FormPlotFrequencyTest, AReportThatCannotBeChartedSaysWhyAndNoWindowOpens) {
    ReportWindows reports(rec, paths, nullptr);
    const QString table = "The response frequency table in " + paths.workFile("FT06F001") + " shows ";
    const std::pair<QByteArray, QString> cases[] = {
        {"    4    10   20", "Tempfile FT06F001 not as expected format!"},
        {"    4    10*****   30    1\n \n",
         table + "a count of item 4 as \"*****\": the number did not fit in its field, so the counts cannot be read."},
        {"    4    10 4294967296   30    1\n \n", table + "a count of item 4 as \"4294967296\": the number is too "
                                                          "large to be read, so the counts cannot be read."},
        {"    4    10   20   30    1\n    9    40   5O    0    2\n \n",
         table + "a count of item 9 as \"5O\": that is not a number, so the counts cannot be read."},
        {"    4    10   20   30    1\n   9.    40   50    0    2\n \n",
         table + "the number of the item in row 2 as \"9.\": that is not a number, so the counts cannot be read."},
        {" \n", "The response frequency table in " + paths.workFile("FT06F001") + " lists no item."},
    };
    for (const auto& [rows, text] : cases) {
        writeReport(rows);
        rec.log.clear();
        rec.messages.clear();
        reports.openFrequencyChart();
        EXPECT_EQ(rec.log, QStringList{"message : " + text});
        EXPECT_EQ(rec.messages.at(0).icon, MsgIcon::Critical);
    }
}

TEST_F(FormPlotFrequencyTest, PrintingLeavesTheButtonsOutAndBringsThemBack) {
    writeReport("    4    10   20   30    1\n \n");
    FormPlotFrequency window(rec, paths);
    ASSERT_TRUE(window.Form_Load());
    rec.buttons = {window.CommandPrevious, window.CommandNext, window.CommandPrint};
    rec.printToPdf = root.file("chart.pdf");
    window.CommandPrint_Click();
    EXPECT_EQ(rec.shownWhilePrinting, (QList<bool>{false, false, false}));
    EXPECT_TRUE(std::none_of(rec.buttons.begin(), rec.buttons.end(), [](QPushButton* b) { return b->isHidden(); }));
    EXPECT_TRUE(test::readFile(rec.printToPdf).startsWith("%PDF"));
    EXPECT_EQ(rec.log.last(), "message Printer: Print Job Done.");
}

}  // namespace
}  // namespace vormgui
