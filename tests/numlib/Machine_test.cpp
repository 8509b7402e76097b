#include "numlib/Machine.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "Numlib_test_fixture.h"

namespace vorm::test {
namespace {

using MachineTest = NumlibTest;

TEST_F(MachineTest, DoubleConstantsAreTheIeeeValues) {
    EXPECT_EQ(DMACH(1), std::numeric_limits<double>::min());
    EXPECT_EQ(DMACH(2), std::numeric_limits<double>::max());
    EXPECT_EQ(DMACH(3), std::ldexp(1.0, -53));
    EXPECT_EQ(DMACH(4), std::ldexp(1.0, -52));
    EXPECT_EQ(DMACH(4), std::numeric_limits<double>::epsilon());
    EXPECT_EQ(std::bit_cast<std::uint64_t>(DMACH(5)), 0x3FD34413509F79FFULL);
    EXPECT_NEAR(DMACH(5), std::log10(2.0), 1e-16);
    EXPECT_NE(DMACH(6), DMACH(6));
    EXPECT_EQ(DMACH(7), std::numeric_limits<double>::infinity());
    EXPECT_EQ(DMACH(8), -std::numeric_limits<double>::infinity());
}

TEST_F(MachineTest, SingleConstantsAreTheIeeeValues) {
    EXPECT_EQ(AMACH(1), std::numeric_limits<float>::min());
    EXPECT_EQ(AMACH(2), std::numeric_limits<float>::max());
    EXPECT_EQ(AMACH(3), std::ldexp(1.0f, -24));
    EXPECT_EQ(AMACH(4), std::ldexp(1.0f, -23));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(AMACH(5)), 0x3E9A209BU);
    EXPECT_NE(AMACH(6), AMACH(6));
    EXPECT_EQ(AMACH(7), std::numeric_limits<float>::infinity());
    EXPECT_EQ(AMACH(8), -std::numeric_limits<float>::infinity());
}

TEST_F(MachineTest, IntegerConstants) {
    const int expected[12] = {32, 4, 2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(IMACH(n), expected[n - 1]) << "N = " << n;
}

TEST_F(MachineTest, DmachOutOfRangeEndsTheRunUnderDefaults) {
    EXPECT_EQ(stop_line([] { DMACH(0); }), " THE NUMERICAL LIBRARY ENDED THE RUN: TERMINAL ERROR 5 FROM DMACH");
    EXPECT_EQ(printed(),
              "\n *** TERMINAL ERROR 5 from DMACH.  The argument must be between 1 and 8\n"
              " ***          inclusive. N = 0\n");
}

TEST_F(MachineTest, OutOfRangeConstantsReturnNanWhenTheRunGoesOn) {
    ERSET(0, 1, 0);
    EXPECT_TRUE(std::isnan(DMACH(9)));
    EXPECT_NE(printed().find("inclusive. N = 9"), std::string::npos);
    EXPECT_TRUE(std::isnan(AMACH(-1)));
    EXPECT_NE(printed().find("TERMINAL ERROR 5 from AMACH."), std::string::npos);
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
}

TEST_F(MachineTest, ImachAndUmachOutOfRangeWriteTheirOwnBlockAndEnd) {
    ERSET(0, 1, 0);  // these end the run whatever the tables say
    EXPECT_EQ(stop_line([] { IMACH(13); }), " THE NUMERICAL LIBRARY ENDED THE RUN: TERMINAL ERROR 5 FROM IMACH");
    EXPECT_EQ(printed(),
              "\n *** TERMINAL ERROR 5 from IMACH.  The argument\n"
              " ***          must be between 1 and 12 inclusive.\n"
              " ***          N =     13.\n\n");
    int unit = 0;
    EXPECT_EQ(stop_line([&] { UMACH(-4, unit); }), " THE NUMERICAL LIBRARY ENDED THE RUN: TERMINAL ERROR 5 FROM UMACH");
    EXPECT_EQ(printed(),
              "\n *** TERMINAL ERROR 5 from UMACH.  The absolute\n"
              " ***          value of the index variable must be\n"
              " ***          1, 2, or 3.  IABS(N) =      4.\n\n");
}

TEST_F(MachineTest, UnitsAreTheConsoleAndCanBeSet) {
    int unit = 0;
    UMACH(1, unit);
    EXPECT_EQ(unit, 5);
    UMACH(2, unit);
    EXPECT_EQ(unit, 6);
    UMACH(3, unit);
    EXPECT_EQ(unit, 6);
    unit = 9;
    UMACH(-2, unit);
    unit = 0;
    UMACH(2, unit);
    EXPECT_EQ(unit, 9);
    numlib_reset();
    UMACH(2, unit);
    EXPECT_EQ(unit, 6);
}

TEST_F(MachineTest, OptionStoreHoldsTheFactorisationPath) {
    int opt = 17;
    int vals[2] = {0, 0};
    IUMAG("MATH", 1, 1, 1, &opt, vals);
    EXPECT_EQ(vals[0], 1);
    EXPECT_EQ(vals[1], 2);
    int put[2] = {1, 1};
    IUMAG("MATH", 1, 2, 1, &opt, put);
    IUMAG("MATH", 1, 1, 1, &opt, vals);
    EXPECT_EQ(vals[1], 1);
    int def = -17;
    IUMAG("MATH", 1, 1, 1, &def, vals);
    EXPECT_EQ(vals[1], 2);
    EXPECT_EQ(printed(), "");
}

TEST_F(MachineTest, OptionStoreRejectsBadRequests) {
    ERSET(0, 1, 0);
    int opt = 17;
    int vals[2] = {-5, -5};
    IUMAG("MATH", 1, 3, 1, &opt, vals);
    EXPECT_NE(printed().find("IACT = 3 is invalid."), std::string::npos);
    IUMAG("BOOK", 1, 1, 1, &opt, vals);
    EXPECT_NE(printed().find("PRODNM = BOOK is invalid."), std::string::npos);
    IUMAG("MATH", 11, 1, 1, &opt, vals);
    EXPECT_NE(printed().find("ICHP = 11 is an invalid MATH chapter\n ***          number.  To get or put MATH options, "
                             "ICHP must be between 1 and \n ***          10.\n"),
              std::string::npos);
    IUMAG("STAT", 21, 1, 1, &opt, vals);
    EXPECT_NE(printed().find("ICHP = 21 is an invalid STAT chapter\n ***          number.  To get or put STAT options, "
                             "ICHP must be between 1 and \n ***          20.\n"),
              std::string::npos);
    IUMAG("STAT", 3, 1, 1, &opt, vals);
    EXPECT_NE(printed().find("No options exist for STAT chapter 3."), std::string::npos);
    IUMAG("MATH", 1, 1, 0, &opt, vals);
    EXPECT_NE(printed().find(
                  "NUMOPT = 0 is an invalid number of\n ***          options.  NUMOPT must be greater than zero.\n"),
              std::string::npos);
    int bad[2] = {17, 4};
    IUMAG("MATH", 1, 1, 2, bad, vals);
    std::string out = printed();
    EXPECT_NE(out.find("IOPTS(2) = 4 is an invalid MATH chapter 1"), std::string::npos) << out;
    EXPECT_EQ(vals[0], -5);  // nothing moved
}

}  // namespace
}  // namespace vorm::test
