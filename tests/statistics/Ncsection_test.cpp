#include "statistics/Ncsection.h"

#include <cstring>
#include <memory>
#include <sstream>

#include "test_support.h"

namespace vorm::test {
namespace {

TEST(Ncsection, ListwiseDeletionCopiesOnlyTheCompleteRowsOfResp) {
    auto st = std::make_unique<Store>();
    for (int n = 1; n <= 200; ++n) {
        st->THETA(n) = n * 0.01;
        st->PERSID(n) = 1000 + n;
        for (int i = 1; i <= 5; ++i) st->RESP(n, i) = (n + i) % 3;
    }
    st->RESP(3, 5) = -1;
    st->RESP(100, 1) = -9;
    st->RESP(200, 2) = -1;
    st->RESP(201, 1) = -1;  // beyond NSUBJ: not looked at
    const auto before = std::make_unique<Store>(*st);
    auto kept = std::make_unique<ResponseTable>();
    EXPECT_EQ(drop_incomplete_respondents(st->RESP, 5, 200, *kept), 197);
    for (int n = 1, from = 1; n <= 197; ++n, ++from) {
        if (from == 3 || from == 100) ++from;
        for (int i = 1; i <= 5; ++i) ASSERT_EQ((*kept)(n, i), before->RESP(from, i)) << n << " " << i;
    }
    EXPECT_EQ(std::memcmp(before.get(), st.get(), sizeof(Store)), 0);
}

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

TEST(Ncsection, SectionLinesAsLaidOut) {
    auto st = std::make_unique<Store>();
    auto w = std::make_unique<NumberCorrectWork>();
    st->ITEMID(1) = 7;
    st->ITEMID(2) = 12;
    st->DELTA(1) = -1.25;
    st->DELTA(2) = 0.4;
    ItemInts ITORD;
    ITORD(1) = 2;
    ITORD(2) = 1;
    const double rows[4][2][6] = {
        {{1, 2, 4, 12.34564, 7.7f, 0.0521}, {1, 2, 3, 0.5, 1.0f, 0.47}},  // SCHI
        {{1, 0, 0, 0, -1, -1}, {1, 1, 2, 3.25, 0.5f, -1}},                // CSCHI
        {{1, 1, 0, 0, -1, -1}, {0, 1, 3, 123456.78912, 2.0f, 0.00001}},   // SSCHI
        {{1, 0, 0, 0, -1, -1}, {0, 0, 5, 99999.99994, 3.8f, 1.0}},        // CSSCHI
    };
    NcResultTable* tables[] = {&w->SCHI, &w->CSCHI, &w->SSCHI, &w->CSSCHI};
    for (int t = 0; t < 4; ++t)
        for (int i = 1; i <= 2; ++i)
            for (int c = 1; c <= 6; ++c) (*tables[t])(i, c) = rows[t][i - 1][c - 1];
    ItemInts NCAT;
    NCAT(1) = NCAT(2) = 2;
    const FittedModel fm{model_parameters(*st, 2, NCAT, 2), *st, 200, 0};
    const NcSample complete{st->RESP, 197, true, st->XQUAD, st->WQUAD, 0};
    std::ostringstream os;
    write_number_correct_section(os, fm, *w, ITORD, complete);
    const std::vector<std::string> expected = {
        " ",
        " ",
        "  *****  ITEM LEVEL CHI-SQUARES CONDITIONED ON NC SCORE *****",
        " ",
        "  **  NOTE: LISTWISE DELETION PERFORMED FOR CASES WITH' MISSING RESPONSES **",
        " ",
        "  **  THE NUMBER OF SUBJECTS RETAINED WAS EQUAL TO 197  **",
        " ",
        " ",
        " ITEM#  12 DELTA=   0.400" + blanks(25),
        "      S-X**2 =    0.5000 DF=    1.00 PROB=0.4700  FIT GROUPS=   3  NC-YES" + blanks(17),
        "     cS-X**2 =    3.2500 DF=    0.50 PROB=******  FIT GROUPS=   2  NC-NO" + blanks(18),
        "      s-X**2 =********** DF=    2.00 PROB=0.0000  FIT GROUPS=   3  NC-NO" + blanks(18),
        "     cs-X**2 =99999.9999 DF=    3.80 PROB=1.0000  FIT GROUPS=   5  NC-NO" + blanks(18),
        " ",
        " ITEM#   7 DELTA=  -1.250 ** EXTREME ITEM CLASS **",
        "      S-X**2 =   12.3456 DF=    7.70 PROB=0.0521  FIT GROUPS=   4  NC-YES" + blanks(17),
        "     cS-X**2 =    0.0000 DF=   -1.00 PROB=******  FIT GROUPS=   0  NC-NO" + blanks(18),
        "      s-X**2 =    0.0000 DF=   -1.00 PROB=******  FIT GROUPS=   0  NC-YES" + blanks(17),
        "     cs-X**2 =    0.0000 DF=   -1.00 PROB=******  FIT GROUPS=   0  NC-NO" + blanks(18),
    };
    EXPECT_EQ(split_lines(os.str()), expected);
}

}  // namespace
}  // namespace vorm::test
