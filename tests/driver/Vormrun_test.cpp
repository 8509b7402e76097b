#include "driver/Vormrun.h"

#include <gtest/gtest.h>

namespace vorm {
namespace {

TEST(ItemParameterCount, AllEightModels) {
    ItemInts ncat;
    ncat(1) = 2;
    ncat(2) = 3;
    ncat(3) = 4;  // S = 1 + 2 + 3 = 6, C = 2
    EXPECT_EQ(item_parameter_count(1, 3, ncat), 4);
    EXPECT_EQ(item_parameter_count(2, 3, ncat), 6);
    EXPECT_EQ(item_parameter_count(3, 3, ncat), 4);
    EXPECT_EQ(item_parameter_count(4, 3, ncat), 9);
    EXPECT_EQ(item_parameter_count(5, 3, ncat), 7);
    EXPECT_EQ(item_parameter_count(6, 3, ncat), 9);
    EXPECT_EQ(item_parameter_count(7, 3, ncat), 7);
    EXPECT_EQ(item_parameter_count(8, 3, ncat), 12);
    ItemInts six;
    for (int j = 1; j <= 20; ++j) six(j) = 6;
    EXPECT_EQ(item_parameter_count(3, 20, six), 25);
    EXPECT_EQ(item_parameter_count(7, 20, six), 45);
    EXPECT_EQ(item_parameter_count(8, 20, six), 140);
}

ClockReading at(int h, int m, int s, int cs) {
    ClockReading c;
    c.hour = h;
    c.minute = m;
    c.second = s;
    c.hundredths = cs;
    return c;
}

TEST(ElapsedSeconds, SameDayAndOnePassageOfMidnight) {
    EXPECT_DOUBLE_EQ(elapsed_seconds(at(10, 0, 0, 0), at(10, 1, 2, 50)), 62.5);
    EXPECT_DOUBLE_EQ(elapsed_seconds(at(23, 59, 59, 90), at(0, 0, 1, 5)), 1.15);
    EXPECT_DOUBLE_EQ(elapsed_seconds(at(23, 0, 0, 0), at(1, 0, 0, 0)), 7200.0);
    EXPECT_DOUBLE_EQ(elapsed_seconds(at(5, 5, 5, 5), at(5, 5, 5, 5)), 0.0);
}

}  // namespace
}  // namespace vorm
