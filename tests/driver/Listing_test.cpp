#include "driver/Listing.h"

#include <gtest/gtest.h>

#include <sstream>

#include "job_helpers.h"

namespace vorm::test {
namespace {

class ListingTest : public ::testing::Test {
protected:
    void TearDown() override { set_clock({}); }
};

TEST_F(ListingTest, ModelTwoWithConstraintDiscardsAndFitStatistics) {
    auto job = std::make_unique<JobSettings>();
    JobSettings& j = *job;
    j.IMONTH = 3, j.IDAY = 7, j.IYEAR = 2026, j.IHOUR = 9, j.IMIN = 5, j.ISEC = 4;
    j.MODEL = 2;
    j.ICONST = 1;
    j.LCATC = 0;
    j.NITEM = 5;
    j.IRECOD = 1;
    j.NDELI = 2;
    j.IDELI(1) = 3;
    j.IDELI(2) = 1000;  // does not fit its field
    j.NDELS = 2;
    j.IDELS(1) = 15;
    j.IDELS(2) = 12345;
    j.NQUAD = 20;
    j.MAXOUT = 50;
    j.MAXIN = 5;
    j.MAXFSU = 10;
    j.MAXFST = 99;  // not this model's: must not be listed
    j.MAXFSI = 20;
    j.CONVC = 0.0001;
    j.IFITAN = 1;
    j.NFITG = 5;
    j.IPRALL = 0;
    j.ITTCUT = 2.5;
    j.ITALPH = 0.05;
    j.PSTCUT = 3.0;
    j.PSALPH = 0.01;
    j.PSLCUT = -2.25;
    JobEcho echo;
    echo.cmdfile = "/home/user/jobs/model2.job";
    echo.datfile = "C:\\DATA\\M2.DAT";
    echo.datfmt = "(i4,1x,5i1)";
    echo.cutoff_constant = false;
    std::ostringstream rep;
    write_parameter_listing(rep, j, echo);
    expect_same_lines(split_lines(rep.str()), expected_lines("listing_model2_fit.txt"));
    EXPECT_EQ(j.ICONST, 1);
}

TEST_F(ListingTest, ConsoleRunOfModelSevenDropsTheConstraintAndHasNoCommandFileLine) {
    fixed_clock(2026, 12, 31, 23, 59, 58);
    DialogueRun r =
        run_dialogue("", lf({"N", "7", "Y", "N", "50", "data/m7.dat", "(I5,10I1)", "10", "Y",      "4", "N", "Y",
                             "2", "N", "N", "N", "5",  "1",           "1",         "1",  "-0.001", "N", "N"}));
    ASSERT_FALSE(r.stopped);
    expect_same_lines(split_lines(r.report), expected_lines("listing_model7_console.txt"));
    EXPECT_EQ(r.job->ICONST, 0);
}

TEST_F(ListingTest, ConstraintOfPerItemModelsNamesItsStartModel) {
    struct Case {
        int model;
        const char* start_line;
    };
    for (Case c : {Case{6, "  OBTAINED INITIALLY WITH MODEL 5 (I.E., A COMMON SET OF LAMBDAS ACROSS ITEMS)"},
                   Case{4, "  OBTAINED INITIALLY WITH MODEL 3 (I.E., A COMMON SET OF THRESHOLDS ACROSS ITEMS)"},
                   Case{8, "  OBTAINED INITIALLY WITH MODEL 7 (I.E., A COMMON SET OF THRESHOLDS ACROSS ITEMS)"}}) {
        auto job = std::make_unique<JobSettings>();
        job->MODEL = c.model;
        job->ICONST = 1;
        std::ostringstream rep;
        write_parameter_listing(rep, *job, JobEcho{});
        auto lines = split_lines(rep.str());
        auto at = std::find(lines.begin(), lines.end(), "  ***** CONSTRAINTS *****");
        ASSERT_NE(at, lines.end());
        EXPECT_EQ(at[3], c.start_line) << "model " << c.model;
        EXPECT_EQ(at[4], " ") << "model " << c.model;  // no "NO CONSTRAINTS" line
        EXPECT_EQ(job->ICONST, 1);
    }
}

TEST_F(ListingTest, ParameterFileStampHasTwoBlanksBeforeTheAsterisks) {
    JobSettings j;
    j.IMONTH = 11, j.IDAY = 30, j.IYEAR = 2026, j.IHOUR = 0, j.IMIN = 0, j.ISEC = 0;
    EXPECT_EQ(date_line(j, 2), "  ***** TODAY'S DATE: 11/30/2026 TODAY'S TIME:  0: 0: 0 *****");
}

}  // namespace
}  // namespace vorm::test
