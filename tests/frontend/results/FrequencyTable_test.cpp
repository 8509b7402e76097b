#include "results/FrequencyTable.h"

#include <gtest/gtest.h>

#include <string>

#include "engine_jobs.h"
#include "gui_test_support.h"

namespace vormgui {
namespace {

using test::CountRow;
using test::EngineJob;

std::vector<CountRow> rowsOf(const FrequencyTable& table) {
    std::vector<CountRow> rows;
    for (const FrequencyRow& r : table.rows) rows.push_back({r.item, r.values});
    return rows;
}

TEST(FrequencyTableFromTheEngine, CountsReadEqualTheCountsOfTheDataFile) {
    struct Case {
        const char* name;
        EngineJob job;
    };
    const Case cases[] = {
        {"2 categories with missing responses", {2, std::vector<int>(6, 2), {}, 0.1, 150, 3}},
        {"6 categories with missing responses, items 2 and 5 discarded",
         {2, std::vector<int>(7, 6), {2, 5}, 0.08, 200, 5}},
        {"10 categories beside items of 4 and 6, missing responses, item 3 discarded",
         {2, {10, 4, 3, 10, 6, 10}, {3}, 0.1, 250, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const QString work = test::runEngineJob(c.job, folder.path());
        const QByteArray report = test::readFile(work + "FT06F001");
        ASSERT_FALSE(report.isEmpty()) << "the engine wrote no report";

        const FrequencyRead read = readFrequencyTable(std::string_view(report.constData(), report.size()));
        const std::vector<CountRow> expected = test::tabulate(c.job, test::readFile(folder.file("data.dat")));
        ASSERT_EQ(read.fault, FrequencyFault::None);
        EXPECT_EQ(read.table.valuesPerRow, static_cast<int>(expected[0].values.size()));
        EXPECT_EQ(rowsOf(read.table), expected);
    }
}

const std::string kTitle = "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******\n";
const std::string kTwoHeading = " ITEM#     1    2   -9\n";
const std::string kTenHeading = " ITEM#     1    2    3    4    5    6    7    8    9   10   -9\n";
const std::string kDashes = " ------------------------------------------------------------\n";

std::string report(const std::string& heading, const std::string& rows) {
    return " PROCESSED RESPONSES FROM  800 SUBJECTS TO  15 ITEMS HAVE BEEN READ.\n \n \n" + kTitle + " \n" + heading +
           kDashes + rows;
}

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

TEST(FrequencyTable, ReadsEveryLayoutOfTheTable) {
    std::string hundredRows;
    for (int item = 1; item <= 100; ++item) hundredRows += "  " + std::to_string(item) + "    4    5    0\n";
    struct Case {
        const char* name;
        std::string text;
        int valuesPerRow;
        std::vector<CountRow> rows;
    };
    const Case cases[] = {
        {"ten categories with the missing count on a line of its own",
         report(kTenHeading,
                "    3     1    2    3    4    5    6    7    8    9   10\n   17\n"
                "   12    21   22   23   24    0    0    0    0    0    0\n    0\n \n"),
         11,
         {{3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17}}, {12, {21, 22, 23, 24, 0, 0, 0, 0, 0, 0, 0}}}},
        {"an item number 0 ends the table",
         report(kTwoHeading, "    4    10   20    1\n    0    30   40    2\n    6    50   60    3\n"),
         3,
         {{4, {10, 20, 1}}}},
        {"CR LF line ends",
         withCrLf(report(kTwoHeading, "    1    10   20    1\n    2    30   40    0\n \n")),
         3,
         {{1, {10, 20, 1}}, {2, {30, 40, 0}}}},
        {"a hundred rows end the table without reading on",
         report(kTwoHeading, hundredRows + "  101 not a row\n"),
         3,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FrequencyRead read = readFrequencyTable(c.text);
        ASSERT_EQ(read.fault, FrequencyFault::None);
        EXPECT_EQ(read.table.valuesPerRow, c.valuesPerRow);
        if (c.rows.empty()) {
            ASSERT_EQ(read.table.rows.size(), 100u);
            EXPECT_EQ(read.table.rows.back().item, 100);
        } else {
            EXPECT_EQ(rowsOf(read.table), c.rows);
        }
    }
}

TEST(FrequencyTable, ValuesPerRowFollowTheHeadingLength) {
    const std::pair<std::size_t, int> cases[] = {{0, 2},   {16, 2},  {17, 2},  {22, 3},  {42, 7},
                                                 {56, 10}, {57, 10}, {58, 11}, {62, 11}, {300, 11}};
    for (const auto& [length, values] : cases) EXPECT_EQ(valuesPerRowOfHeading(length), values) << length;
}

TEST(FrequencyTable, ReportsWhatIsWrongAndWhere) {
    struct Case {
        const char* name;
        std::string text;
        FrequencyFault fault;
        int row;
        int item;
    };
    const Case cases[] = {
        {"no table in the report", " FT06F001 of a run that stopped early\n \n", FrequencyFault::NotExpected, 0, 0},
        {"the title with one blank less",
         " x\n" + kTitle.substr(1) + " \n" + kTwoHeading + kDashes + "    1   10   20    1\n",
         FrequencyFault::NotExpected, 0, 0},
        {"the report ends after the heading", " x\n" + kTitle + " \n" + kTwoHeading, FrequencyFault::NotExpected, 0, 0},
        {"the report ends inside a row", report(kTwoHeading, "    1    10   20"), FrequencyFault::NotExpected, 0, 0},
        {"the report ends after the last row", report(kTwoHeading, "    1    10   20    1\n"),
         FrequencyFault::NotExpected, 0, 0},
        {"a blank line inside a row", report(kTwoHeading, "    1    10   20\n \n    2    30   40    0\n"),
         FrequencyFault::NotExpected, 0, 0},
        {"an item number that is no number", report(kTwoHeading, "    1    10   20    1\n  1a    10   20    1\n \n"),
         FrequencyFault::NotANumber, 2, 0},
        {"a count that is no number", report(kTwoHeading, "    1    10   2x    1\n \n"), FrequencyFault::NotANumber, 1,
         1},
        {"a count too wide for its field", report(kTwoHeading, "    1    10   20    1\n    7 *****   20    1\n \n"),
         FrequencyFault::Overflow, 2, 7},
        {"stars touching the count before them", report(kTwoHeading, "    8    12*****    1\n \n"),
         FrequencyFault::Overflow, 1, 8},
        {"an item number too wide for its field", report(kTwoHeading, "    1    10   20    1\n  ***    10   20    1\n"),
         FrequencyFault::Overflow, 2, 0},
        {"a table without items", report(kTwoHeading, " \n ***** RESPONSE FREQUENCY COUNTS ACROSS ITEMS *****\n"),
         FrequencyFault::NoItems, 0, 0},
        {"a table whose first item number is 0", report(kTwoHeading, "    0     0    0    0\n \n"),
         FrequencyFault::NoItems, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FrequencyRead read = readFrequencyTable(c.text);
        EXPECT_EQ(read.fault, c.fault);
        EXPECT_EQ(read.faultRow, c.row);
        EXPECT_EQ(read.faultItem, c.item);
        EXPECT_TRUE(read.table.rows.empty());
    }
}

}  // namespace
}  // namespace vormgui
