#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "driver/Stages.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::read_file;
using test::split_lines;
using test::test_data_dir;

// Two retained items (data-file numbers 3 and 12) with 3 and 4 categories and
// three respondents; values chosen so that every F12.8 field is easy to write
// out by hand in the expected files.
struct FileRun {
    std::ostringstream con;
    std::istringstream cin;
    Io io{con, cin};
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();

    explicit FileRun(int model) {
        io.units.open_in_memory();
        JobSettings& j = *job;
        Store& s = *st;
        j.MODEL = model;
        j.IMONTH = 3, j.IDAY = 7, j.IYEAR = 2026, j.IHOUR = 9, j.IMIN = 5, j.ISEC = 1;
        j.NITEM = 2;
        j.NCAT(1) = 3, j.NCAT(2) = 4;
        s.ITEMID(1) = 3, s.ITEMID(2) = 12;
        s.DINIT(1) = -1.5, s.DINIT(2) = 0.25;
        s.DELTA(1) = -1.625, s.DELTA(2) = 0.375;
        s.DSTD(1) = 0.125, s.DSTD(2) = 0.0625;
        s.ALPHA(1) = 1.25, s.ALPHA(2) = 0.75;
        s.ASTD(1) = 0.2, s.ASTD(2) = 0.15;
        s.CORRDA(1) = -0.5, s.CORRDA(2) = 0.3;
        s.UNIT = 0.45;
        s.LAMBDA(1) = 0.55, s.LAMBDA(2) = 0.65;
        s.LSTD(1) = 0.05, s.LSTD(2) = 0.07;
        s.PARINI(1, 1) = 0.5, s.PARINI(1, 2) = -0.75, s.PARINI(1, 3) = -1.5;
        s.PARINI(2, 1) = 0.6, s.PARINI(2, 2) = -0.4, s.PARINI(2, 3) = -0.9, s.PARINI(2, 4) = -1.4;
        s.TAU(1, 1) = -0.8, s.TAU(1, 2) = -1.6;
        s.TAU(2, 1) = -0.5, s.TAU(2, 2) = -1.0, s.TAU(2, 3) = -1.5;
        s.TAUC(1) = -0.7, s.TAUC(2) = -1.4;
        s.TAUSTD(1, 1) = 0.1, s.TAUSTD(1, 2) = 0.2;
        s.TAUSTD(2, 1) = 0.11, s.TAUSTD(2, 2) = 0.12, s.TAUSTD(2, 3) = 0.13;
        j.NSUBJ = 3;
        s.PERSID(1) = 1, s.PERSID(2) = 250, s.PERSID(3) = 9999;
        s.THETA(1) = -2.5, s.THETA(2) = 0.0, s.THETA(3) = 1.75;
        s.TSTD(1) = 0.4, s.TSTD(2) = 0.35, s.TSTD(3) = 0.5;
    }
    void write() { WRITIT(io, *job, *st); }
    std::string items() const { return io.units.contents(Unit::FT16); }
    std::string persons() const { return io.units.contents(Unit::FT17); }
};

std::string expected(const std::string& name) { return read_file(test_data_dir() + "/" + name); }

TEST(Writit, ItemFileOfEveryModelMatchesItsLayout) {
    for (int model = 1; model <= 8; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        FileRun r(model);
        r.write();
        EXPECT_EQ(r.items(), expected("writit_model" + std::to_string(model) + ".txt"));
    }
}

TEST(Writit, PersonFileListsEveryRetainedRespondent) {
    FileRun r(4);
    r.write();
    EXPECT_EQ(r.persons(), expected("writit_person.txt"));
}

TEST(Writit, PersonFileIsTheSameForEveryModel) {
    FileRun a(1), b(8);
    a.write();
    b.write();
    EXPECT_EQ(a.persons(), b.persons());
}

TEST(Writit, ValuesThatDoNotFitPrintAsAsterisks) {
    FileRun r(8);
    Store& s = *r.st;
    r.job->NITEM = 1;
    r.job->NCAT(1) = 2;
    s.ITEMID(1) = 1000;
    s.DINIT(1) = 999.99999999;  // widest value F12.8 still holds
    s.DELTA(1) = 1000.0;
    s.DSTD(1) = std::numeric_limits<double>::quiet_NaN();  // singular information matrix
    s.ALPHA(1) = -100.0;
    s.ASTD(1) = -99.5;
    s.CORRDA(1) = std::numeric_limits<double>::infinity();
    s.PARINI(1, 2) = -1234.5;
    s.TAUSTD(1, 1) = std::numeric_limits<double>::quiet_NaN();
    // Identifiers wider than their field print in full on their own line:
    // estimates that cannot be matched to respondents are lost.
    r.job->NSUBJ = 4;
    s.PERSID(1) = 10000;
    s.THETA(1) = 12.5;
    s.TSTD(1) = std::numeric_limits<double>::quiet_NaN();
    s.PERSID(2) = 7;
    s.THETA(2) = -1e6;
    s.PERSID(3) = -1000;
    s.PERSID(4) = 999999999999;
    r.write();

    auto items = split_lines(r.items());
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[4],
              " ITEM#*** INITIAL=999.99999999 DELTA=************ DSTD=************ ALPHA=************"
              " ASTD=-99.50000000 CORR=************");
    EXPECT_EQ(items[5], " THRESHOLD# 1 INITIAL=  0.50000000 TAU=  0.00000000 TAUSTD=  0.00000000");
    EXPECT_EQ(items[6], " THRESHOLD# 2 INITIAL=************ TAU= -0.80000000 TAUSTD=************");

    auto persons = split_lines(r.persons());
    ASSERT_EQ(persons.size(), 8u);
    EXPECT_EQ(persons[4], " SUBJECT# 10000 THETA= 12.50000000 TSTD=************");
    EXPECT_EQ(persons[5], " SUBJECT#    7 THETA=************ TSTD=  0.35000000");
    EXPECT_EQ(persons[6], " SUBJECT# -1000 THETA=  1.75000000 TSTD=  0.50000000");
    EXPECT_EQ(persons[7], " SUBJECT# 999999999999 THETA=  0.00000000 TSTD=  0.00000000");
}

TEST(Writit, TenCategoriesGiveTenThresholdLines) {
    FileRun r(4);
    r.job->NITEM = 1;
    r.job->NCAT(1) = 10;
    for (int k = 1; k <= 10; ++k) r.st->PARINI(1, k) = 0.0;
    r.write();
    auto lines = split_lines(r.items());
    ASSERT_EQ(lines.size(), 4u + 1u + 10u);
    EXPECT_EQ(lines.back(), " THRESHOLD#10 INITIAL=  0.00000000 TAU=  0.00000000 TAUSTD=  0.00000000");
}

TEST(Writit, CommonThresholdsFollowTheCategoryCountOfTheFirstItem) {
    FileRun r(7);
    r.job->NCAT(1) = 2;  // the second item's count (4) must not be used
    r.write();
    auto lines = split_lines(r.items());
    ASSERT_EQ(lines.size(), 4u + 2u + 2u);
    EXPECT_EQ(lines[6].substr(0, 13), " THRESHOLD# 1");
    EXPECT_EQ(lines[7].substr(0, 13), " THRESHOLD# 2");
}

}  // namespace
}  // namespace vorm
