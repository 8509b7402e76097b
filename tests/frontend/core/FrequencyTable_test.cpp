#include "core/FrequencyTable.h"

#include <gtest/gtest.h>

#include "engine_jobs.h"

namespace vormgui {
namespace {

// Each row as the item number followed by its values.
std::vector<std::vector<int>> rowsOf(const FrequencyRead& read) {
    std::vector<std::vector<int>> rows;
    for (const FrequencyRow& r : read.table.rows) {
        rows.push_back({r.item});
        rows.back().insert(rows.back().end(), r.values.begin(), r.values.end());
    }
    return rows;
}

FrequencyRead readText(const QByteArray& text) { return readFrequencyTable({text.constData(), size_t(text.size())}); }

TEST(FrequencyTable, CountsReadFromTheEnginesReportEqualTheCountsOfItsData) {
    const test::EngineJob jobs[] = {
        {std::vector<int>(6, 2), {}, 0.1},
        {std::vector<int>(7, 6), {2, 5}, 0.08},
        {{10, 4, 3, 10, 6, 10}, {3}, 0.1},
    };
    for (const test::EngineJob& job : jobs) {
        SCOPED_TRACE(job.categories[0]);
        test::TempFolder folder;
        const FrequencyRead read = readText(test::readFile(test::runEngineJob(job, folder.path()) + "FT06F001"));
        const auto expected = test::tabulate(job, test::readFile(folder.file("data.dat")));
        ASSERT_EQ(read.fault, FrequencyFault::None);
        EXPECT_EQ(read.table.valuesPerRow + 1, int(expected[0].size()));
        EXPECT_EQ(rowsOf(read), expected);
    }
}

QByteArray report(const char* heading, const char* rows) {
    return QByteArray(" READ.\n \n  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******\n \n") + heading + "\n ---\n" +
           rows;
}

TEST(FrequencyTable, ReadsTheMissingCountFromItsOwnLineAndStopsAtItemZero) {
    const char* ten = " ITEM#     1    2    3    4    5    6    7    8    9   10   -9";
    const FrequencyRead read = readText(report(ten,
                                               "    3     1    2    3    4    5    6    7    8    9   10\r\n   17\r\n"
                                               "   12    21   22   23   24    0    0    0    0    0    0\n    4\n"
                                               "    0     5    5    5    5    5    5    5    5    5    5\n    5\n"));
    ASSERT_EQ(read.fault, FrequencyFault::None);
    EXPECT_EQ(read.table.bars(), 10);
    EXPECT_EQ(rowsOf(read), (std::vector<std::vector<int>>{{3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17},
                                                           {12, 21, 22, 23, 24, 0, 0, 0, 0, 0, 0, 4}}));
}

TEST(FrequencyTable, SaysWhatIsWrongAndWhere) {
    const char* two = " ITEM#     1    2   -9";
    const struct {
        QByteArray text;
        FrequencyFault fault;
        int row, item;
    } cases[] = {
        {" no table here\n", FrequencyFault::NotExpected, 0, 0},
        {report(two, "    1    10   20"), FrequencyFault::NotExpected, 0, 0},
        {report(two, "    1    10   20\n \n    2    30   40    0\n"), FrequencyFault::NotExpected, 0, 0},
        {report(two, "    1    10   20    1\n  1a    10   20    1\n \n"), FrequencyFault::NotANumber, 2, 0},
        {report(two, "    1    10   20    1\n    7    1a   20    1\n \n"), FrequencyFault::NotANumber, 2, 7},
        {report(two, "    4    10 2147483648    1\n \n"), FrequencyFault::TooLarge, 1, 4},
        {report(two, "    4    10 2147483647    1\n 99999999999    1    1    1\n \n"), FrequencyFault::TooLarge, 2, 0},
        {report(two, "    1    10   20    1\n    7 *****   20    1\n \n"), FrequencyFault::Overflow, 2, 7},
        {report(two, "    8    12*****    1\n \n"), FrequencyFault::Overflow, 1, 8},
        {report(two, "  ***    10   20    1\n \n"), FrequencyFault::Overflow, 1, 0},
        {report(two, " \n ***** RESPONSE FREQUENCY COUNTS ACROSS ITEMS *****\n"), FrequencyFault::NoItems, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const FrequencyRead read = readText(c.text);
        EXPECT_EQ(read.fault, c.fault);
        EXPECT_EQ(read.faultRow, c.row);
        EXPECT_EQ(read.faultItem, c.item);
    }
}

}  // namespace
}  // namespace vormgui
