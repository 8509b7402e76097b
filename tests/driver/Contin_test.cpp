// Response frequency tables and their aborts.  The by-item table is also read
// back here the way the front end reads it, since that layout is its input.
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/io.h"
#include "common/stop.h"
#include "driver/Stages.h"
#include "test_support.h"

namespace vorm {
namespace {

const std::string DASHES = "  " + std::string(60, '-');
const std::string BY_ITEM = "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******";

class FrequencyTables : public ::testing::Test {
protected:
    std::ostringstream con;
    std::istringstream cin;
    Io io{con, cin};
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<RawTable> records = std::make_unique<RawTable>();

    void SetUp() override { io.units.open_in_memory(); }

    // Items with their data-file numbers and category counts; responses by
    // respondent, one string per respondent ('m' = missing).
    void data(int model, const std::vector<int>& ids, const std::vector<int>& ncat,
              const std::vector<std::string>& rows) {
        job->MODEL = model;
        job->NITEM = static_cast<int>(ids.size());
        job->NSUBJ = static_cast<int>(rows.size());
        for (int j = 1; j <= job->NITEM; ++j) {
            st->ITEMID(j) = ids[static_cast<std::size_t>(j - 1)];
            job->NCAT(j) = ncat[static_cast<std::size_t>(j - 1)];
        }
        for (int k = 1; k <= job->NSUBJ; ++k)
            for (int j = 1; j <= job->NITEM; ++j) {
                char c = rows[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(j - 1)];
                st->RESP(k, j) = c == 'm' ? -9 : c - '0';
            }
    }
    std::vector<std::string> run() {
        try {
            CONTIN(io, *job, *st);
        } catch (const EngineStop& s) {
            return s.status_lines();
        }
        return {};
    }
    std::string report() const { return io.units.contents(Unit::FT06); }
};

// The front end's reading of the by-item table: after the title line, skip one
// line, take the values per row from the heading's length, skip the dashes,
// then read numbers as a stream in which a blank line is an empty value and an
// empty value or a 0 ends the table.
struct ChartTable {
    bool ok = false;
    int values_per_row = 0;
    std::vector<std::vector<long>> rows;  // item number, then the values
};

ChartTable read_like_front_end(const std::string& report) {
    ChartTable t;
    auto lines = test::split_lines(report);
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != BY_ITEM) ++i;
    if (i + 3 >= lines.size()) return t;
    std::size_t len = lines[i + 2].size();
    if (len >= 58)
        t.values_per_row = 11;
    else if (len >= 17)
        t.values_per_row = static_cast<int>(std::nearbyint((static_cast<double>(len) - 7.0) / 5.0));
    else
        t.values_per_row = 2;
    std::vector<std::string> tokens;  // "" for a blank line
    for (std::size_t k = i + 4; k < lines.size(); ++k) {
        std::istringstream ls(lines[k]);
        std::string tok;
        bool any = false;
        while (ls >> tok) tokens.push_back(tok), any = true;
        if (!any) tokens.push_back("");
    }
    std::size_t p = 0;
    for (int r = 1; r <= 100; ++r) {
        if (p >= tokens.size()) return t;
        if (tokens[p].empty() || std::stol(tokens[p]) == 0) break;
        std::vector<long> row{std::stol(tokens[p++])};
        for (int v = 0; v < t.values_per_row; ++v) {
            if (p >= tokens.size() || tokens[p].empty()) return t;
            row.push_back(std::stol(tokens[p++]));
        }
        t.rows.push_back(row);
    }
    t.ok = true;
    return t;
}

TEST_F(FrequencyTables, TwoItemsOfTwoCategories) {
    data(1, {4, 7}, {2, 2}, {"01", "11", "m0"});
    ASSERT_TRUE(run().empty());
    EXPECT_EQ(report(), " \n \n" + BY_ITEM +
                            "\n \n"
                            " ITEM#     1    2   -9\n" +
                            DASHES +
                            "\n"
                            "    4      1    1    1\n"
                            "    7      1    2    0\n"
                            " \n"
                            "  ***** RESPONSE FREQUENCY COUNTS ACROSS ITEMS *****\n"
                            " \n"
                            " ITEM#       1      2     -9\n" +
                            DASHES +
                            "\n"
                            "             2      3      1\n"
                            " \n \n \n \n");
    EXPECT_EQ(con.str(), " \n \n \n");

    ChartTable t = read_like_front_end(report());
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.values_per_row, 3);
    EXPECT_EQ(t.rows, (std::vector<std::vector<long>>{{4, 1, 1, 1}, {7, 1, 2, 0}}));
}

TEST_F(FrequencyTables, TenCategoriesPutElevenCountsOnEachItemLine) {
    data(2, {3, 12}, {10, 2}, {"01", "10", "21", "30", "41", "50", "61", "70", "81", "90", "9m", "m1"});
    ASSERT_TRUE(run().empty());
    auto lines = test::split_lines(report());
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[4], " ITEM#     1    2    3    4    5    6    7    8    9   10   -9");
    EXPECT_EQ(lines[6], "    3      1    1    1    1    1    1    1    1    1    2    1");
    EXPECT_EQ(lines[7], "   12      5    6    0    0    0    0    0    0    0    0    1");
    EXPECT_EQ(lines[8], " ");
    EXPECT_EQ(lines[13], "             6      7      1      1      1      1      1      1      1      2      2");

    ChartTable t = read_like_front_end(report());
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.values_per_row, 11);
    EXPECT_EQ(t.rows, (std::vector<std::vector<long>>{{3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1},
                                                      {12, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 1}}));
}

TEST_F(FrequencyTables, UnusedCategoryOfOneItemStopsOnlyModelsWithPerItemThresholds) {
    // Item 1 never uses category 2; item 2 does.
    const std::vector<std::string> rows = {"00", "11", "02", "10"};
    for (int model : {1, 2, 3, 5, 6, 7}) {
        SetUp();
        data(model, {1, 2}, {3, 3}, rows);
        EXPECT_TRUE(run().empty()) << model;
    }
    for (int model : {4, 8}) {
        SetUp();
        con.str("");
        data(model, {1, 2}, {3, 3}, rows);
        EXPECT_EQ(run(),
                  (std::vector<std::string>{
                      "  THERE IS AT LEAST ONE ITEM FOR WHICH ALL", "  RESPONSE CATEGORIES WERE NOT USED.  INSPECT THE",
                      "  RESPONSE CONTINGIENCY TABLE TO IDENTIFY THE",
                      "  ITEM(S), AND THEN ADJUST THE NUMBER OF RESPONSE", "  CATEGORIES ACCORDINGLY."}))
            << model;
        const std::string block =
            " **************** PROBLEM ***************\n"
            " **************** PROBLEM ***************\n"
            " **************** PROBLEM ***************\n"
            " **************** PROBLEM ***************\n"
            " \n"
            "  THERE IS AT LEAST ONE ITEM FOR WHICH ALL RESPONSE CATEGORIES WERE NOT USED.  INSPECT  THE RESPONSE "
            "CONTINGIENCY TABLE TO IDENTIFY THE ITEM AND THEN ADJUST THE NUMBER OF RESPONSE CATEGORIES ACCORDINGLY\n"
            " \n"
            "  EXECUTION IS ABORTING!!!! \n"
            " \n"
            "  ABORT....ABORT....ABORT \n"
            "  ABORT....ABORT....ABORT \n"
            "  ABORT....ABORT....ABORT \n"
            "  ABORT....ABORT....ABORT \n";
        EXPECT_EQ(con.str(), " \n \n \n" + block);
        std::string r = report();
        ASSERT_GE(r.size(), block.size());
        EXPECT_EQ(r.substr(r.size() - block.size()), block);
        EXPECT_NE(r.find("    1      2    2    0    0\n"), std::string::npos);  // the table comes first
    }
}

TEST_F(FrequencyTables, ColumnsBeyondAnItemsOwnCategoriesAreNotChecked) {
    data(4, {1, 2}, {2, 3}, {"00", "11", "02"});
    EXPECT_TRUE(run().empty());
}

TEST_F(FrequencyTables, CategoryUnusedByEveryItemStopsAnyModel) {
    data(1, {1, 2}, {3, 3}, {"12", "21", "1m"});
    EXPECT_EQ(
        run(),
        (std::vector<std::string>{"  FEWER THAN 3 RESPONSE CATEGORIES HAVE BEEN USED WHEN CONSIDERING ALL ITEMS."}));
    const std::string block =
        " **************** PROBLEM ***************\n"
        " **************** PROBLEM ***************\n"
        " **************** PROBLEM ***************\n"
        " **************** PROBLEM ***************\n"
        " \n"
        "  FEWER THAN 3 RESPONSE CATEGORIES HAVE\n"
        "  BEEN USED WHEN CONSIDERING ALL ITEMS.\n"
        " \n"
        "  EXECUTION IS ABORTING!!!! \n"
        " \n"
        "  ABORT....ABORT....ABORT \n"
        "  ABORT....ABORT....ABORT \n"
        "  ABORT....ABORT....ABORT \n"
        "  ABORT....ABORT....ABORT \n";
    EXPECT_EQ(con.str(), " \n \n \n" + block);
    EXPECT_EQ(report().substr(report().size() - block.size()), block);
}

// The whole way from an empty data file: every item goes in the clean-up, and
// the tables then have no rows and stop the run.
TEST_F(FrequencyTables, EmptyDataFileEndsInTheAcrossItemsAbort) {
    test::TempDir dir;
    test::write_file(dir.file("empty.dat"), "");
    job->DATFILE = dir.file("empty.dat");
    job->DATFMT = "(i3,2i1)";
    job->MODEL = 4;
    job->NITEM = 2;
    job->NCAT(1) = 4, job->NCAT(2) = 4;
    std::vector<std::string> status;
    try {
        MMLDAT(io, *job, *records);
        READIT(io, *job, *st);
        CONTIN(io, *job, *st);
    } catch (const EngineStop& s) {
        status = s.status_lines();
    }
    EXPECT_EQ(
        status,
        (std::vector<std::string>{"  FEWER THAN 2 RESPONSE CATEGORIES HAVE BEEN USED WHEN CONSIDERING ALL ITEMS."}));
    std::string r = report();
    const std::string tables = BY_ITEM + "\n \n ITEM#     1    2   -9\n" + DASHES +
                               "\n \n  ***** RESPONSE FREQUENCY COUNTS ACROSS ITEMS *****\n \n"
                               " ITEM#       1      2     -9\n" +
                               DASHES + "\n             0      0      0\n **************** PROBLEM";
    EXPECT_NE(r.find(tables), std::string::npos);
    EXPECT_NE(r.find("  FEWER THAN 2 RESPONSE CATEGORIES HAVE\n"), std::string::npos);

    ChartTable t = read_like_front_end(r);
    EXPECT_TRUE(t.ok);
    EXPECT_TRUE(t.rows.empty());
}

}  // namespace
}  // namespace vorm
