#include "results/FormPlotFrequency.h"

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QPushButton>

#include "engine_jobs.h"
#include "gui_test_support.h"
#include "platform/RecordingServices.h"
#include "results/ReportWindows.h"
#include "shell/FormMain.h"

namespace vormgui {
namespace {

using test::writeFile;

// The chart as the user sees it: the caption under the bars, and per bar its
// legend name and height.
struct Shown {
    QString caption;
    QStringList names;
    std::vector<int> heights;
};

Shown shownBy(const FormPlotFrequency& window) {
    Shown s;
    QChart* chart = window.MSChartResponseFrequency->chart();
    const auto axes = chart->axes(Qt::Horizontal);
    if (!axes.isEmpty()) s.caption = axes[0]->titleText();
    for (QAbstractSeries* series : chart->series())
        for (QBarSet* bar : static_cast<QBarSeries*>(series)->barSets()) {
            s.names << bar->label();
            s.heights.push_back(static_cast<int>(bar->at(0)));
        }
    return s;
}

class FormPlotFrequencyTest : public ::testing::Test {
protected:
    FormPlotFrequencyTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir(root.path()).mkpath(QStringLiteral("app/TEMPFILE"));
    }

    void writeReport(const std::string& table) {
        writeFile(paths.workFile("FT06F001"),
                  QByteArray(" PROCESSED RESPONSES FROM  200 SUBJECTS TO   2 ITEMS HAVE BEEN READ.\n \n \n"
                             "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******\n \n"
                             " ITEM#     1    2   -9\n ----------------------\n") +
                      QByteArray::fromStdString(table));
    }

    test::TempFolder root;
    AppPaths paths;
    RecordingServices rec;
};

TEST_F(FormPlotFrequencyTest, EveryItemsBarsAreItsCountsWithoutTheMissingOnes) {
    test::EngineJob job;
    job.categories = {10, 4, 10, 6, 10};
    job.discarded = {3};
    job.missingRate = 0.1;
    job.seed = 11;
    test::TempFolder run;
    const AppPaths engineRun(root.file("app"), test::runEngineJob(job, run.path()), root.file("home"));
    const std::vector<test::CountRow> expected = test::tabulate(job, test::readFile(run.file("data.dat")));

    FormPlotFrequency window(rec, engineRun);
    ASSERT_TRUE(window.Form_Load());
    QStringList names;
    for (int k = 1; k <= 10; ++k) names << QStringLiteral("Response %1").arg(k);
    for (std::size_t row = 0; row < expected.size(); ++row) {
        SCOPED_TRACE(row + 1);
        if (row > 0) window.CommandNext_Click();
        EXPECT_EQ(window.itemOnShow(), static_cast<int>(row) + 1);
        const Shown shown = shownBy(window);
        EXPECT_EQ(shown.caption, QStringLiteral("Response Frequency of Item #%1").arg(expected[row].item));
        EXPECT_EQ(shown.names, names);
        EXPECT_EQ(shown.heights, std::vector<int>(expected[row].values.begin(), expected[row].values.end() - 1));
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(FormPlotFrequencyTest, NextAndPreviousStopAtTheEndsAndLeaveTheChartAsItWas) {
    writeReport("    4    10   20    1\n    9    30   40    2\n \n");
    FormPlotFrequency window(rec, paths);
    ASSERT_TRUE(window.Form_Load());
    const Shown first = shownBy(window);
    EXPECT_EQ(first.heights, (std::vector<int>{10, 20}));

    window.CommandPrevious_Click();
    EXPECT_EQ(window.itemOnShow(), 1);
    EXPECT_EQ(shownBy(window).heights, first.heights);
    window.CommandNext_Click();
    window.CommandNext_Click();
    EXPECT_EQ(window.itemOnShow(), 2);
    EXPECT_EQ(shownBy(window).caption, QStringLiteral("Response Frequency of Item #9"));
    window.CommandPrevious_Click();
    EXPECT_EQ(window.itemOnShow(), 1);

    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[0].text, "You are at the first item in the list. There are no previous items.");
    EXPECT_EQ(rec.messages[0].title, "No Previous Item");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(rec.messages[1].text, "You are at the last item in the list. There are no further items.");
    EXPECT_EQ(rec.messages[1].title, "No Next Item");
    EXPECT_EQ(rec.messages[1].icon, MsgIcon::Exclamation);
}

TEST_F(FormPlotFrequencyTest, AReportThatCannotBeChartedSaysWhyAndShowsNoWindow) {
    FormMain form(rec, paths);
    attachReportWindows(form, rec, paths);
    const QString report = paths.workFile("FT06F001");
    const struct {
        const char* name;
        std::string table;
        QString message;
    } cases[] = {
        {"the report ends inside the table", "    4    10   20", "Tempfile FT06F001 not as expected format!"},
        {"an item number that is no number", "  4a     10   20    1\n \n",
         "Output file " + report + " is not available."},
        {"a count too wide for its field", "    4    10*****    1\n \n",
         "The response frequency table in " + report +
             " shows a count of item 4 as \"10*****\": the number did not fit in its field, so the counts cannot be "
             "read."},
        {"an item number too wide for its field", "    4    10   20    1\n  ***    10   20    1\n \n",
         "The response frequency table in " + report +
             " shows the number of the item in row 2 as \"***\": the number did not fit in its field, so the counts "
             "cannot be read."},
        {"no item", " \n", "The response frequency table in " + report + " lists no item."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeReport(c.table);
        rec.log.clear();
        rec.messages.clear();
        form.mnuResponseFrequency->trigger();
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.messages[0].text, c.message);
        EXPECT_EQ(rec.messages[0].title, QString());
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(rec.log.filter(QStringLiteral("modal")), QStringList());
    }
}

// Prints as the recorder does, noting which buttons were on the window then.
class ButtonWatchingServices : public RecordingServices {
public:
    QList<QPushButton*> buttons;
    QList<bool> visibleWhilePrinting;
    bool failPrinting = false;

    bool print(const QString& what, const PrintDrawing& draw) override {
        for (QPushButton* b : buttons) visibleWhilePrinting << !b->isHidden();
        return RecordingServices::print(what, draw) && !failPrinting;
    }
};

TEST_F(FormPlotFrequencyTest, PrintingLeavesTheButtonsOutAndBringsThemBack) {
    writeReport("    4    10   20    1\n \n");
    ButtonWatchingServices services;
    FormPlotFrequency window(services, paths);
    ASSERT_TRUE(window.Form_Load());
    services.buttons = {window.CommandPrevious, window.CommandNext, window.CommandPrint};
    const QList<bool> none{false, false, false}, all{true, true, true};
    auto visibleNow = [&] {
        QList<bool> v;
        for (QPushButton* b : services.buttons) v << !b->isHidden();
        return v;
    };

    services.printerChosen = false;
    window.CommandPrint_Click();
    EXPECT_EQ(services.log, QStringList{"printer"});
    EXPECT_EQ(visibleNow(), all);

    services.printerChosen = true;
    services.printToPdf = root.file("chart.pdf");
    window.CommandPrint_Click();
    EXPECT_EQ(services.visibleWhilePrinting, none);
    EXPECT_EQ(visibleNow(), all);
    EXPECT_TRUE(test::readFile(services.printToPdf).startsWith("%PDF"));
    EXPECT_EQ(services.messageTexts(), QStringList{"Print Job Done."});
    EXPECT_EQ(services.messages.back().title, "Printer");
    EXPECT_EQ(services.messages.back().icon, MsgIcon::Information);

    services.failPrinting = true;
    services.messages.clear();
    window.CommandPrint_Click();
    EXPECT_EQ(visibleNow(), all);
    EXPECT_TRUE(services.messages.empty());
}

}  // namespace
}  // namespace vormgui
