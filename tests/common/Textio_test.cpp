// The expected fields of the fixed-format cases were produced once by a
// Fortran compiler writing and reading the same layouts and records.
#include "common/textio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace vorm {
namespace {

std::string fx(const char* layout, const std::vector<Val>& v) { return format_fixed(layout, v); }

TEST(FixedFormat, IntegersRightJustifiedWithAsterisksOnOverflow) {
    EXPECT_EQ(fx("(1X,I4,1X,I3)", {12, 5}), "   12   5");
    EXPECT_EQ(fx("(1X,I4,1X,I3)", {12345, -99}), " **** -99");
    EXPECT_EQ(fx("(1X,I3)", {-100}), " ***");
    EXPECT_EQ(fx("(1X,I4.3)", {7}), "  007");
    EXPECT_EQ(fx("(T6,I4)", {12345}), "     ****");
}

TEST(FixedFormat, RealsRoundCorrectlyAndOverflowToAsterisks) {
    EXPECT_EQ(fx("(' ITEM#',I3,' DELTA=',F12.8)", {3, -1.23456789012}), " ITEM#  3 DELTA= -1.23456789");
    EXPECT_EQ(fx("(F12.8)", {1234.5}), "************");
    EXPECT_EQ(fx("(F12.8)", {999.999999994}), "999.99999999");
    EXPECT_EQ(fx("(F12.8)", {999.999999996}), "************");  // rounds up to 1000.00000000
    EXPECT_EQ(fx("(F12.8)", {-99.5}), "-99.50000000");
    EXPECT_EQ(fx("(F4.2)", {0.125}), "0.12");  // an exact tie rounds to even
    EXPECT_EQ(fx("(F4.2)", {0.375}), "0.38");
    EXPECT_EQ(fx("(F5.2)", {-0.001}), "-0.00");
    EXPECT_EQ(fx("(F8.3)", {2.5}), "   2.500");
    EXPECT_EQ(fx("(F5.0)", {3.0}), "   3.");
    EXPECT_EQ(fx("(F3.1)", {10.0}), "***");
    EXPECT_EQ(fx("(1X,F20.2)", {12.345}), "                12.35");
    EXPECT_EQ(fx("(5X,F8.3,5X,F8.5)", {-4.0, 0.00012}), "       -4.000      0.00012");
}

TEST(FixedFormat, LeadingZeroDroppedOnlyWhenThatAloneMakesTheValueFit) {
    EXPECT_EQ(fx("(F4.3)", {0.5}), ".500");
    EXPECT_EQ(fx("(F5.3)", {-0.5}), "-.500");
    EXPECT_EQ(fx("(F6.3)", {-0.5}), "-0.500");
    EXPECT_EQ(fx("(F3.3)", {0.5}), "***");
}

TEST(FixedFormat, NotANumberAndInfinityFillTheField) {
    EXPECT_EQ(fx("(F12.8)", {std::numeric_limits<double>::quiet_NaN()}), "************");
    EXPECT_EQ(fx("(1X,F8.3)", {-std::numeric_limits<double>::infinity()}), " ********");
    EXPECT_EQ(fx("(E10.3)", {std::numeric_limits<double>::infinity()}), "**********");
}

TEST(FixedFormat, PositioningWithTabsAndSkips) {
    EXPECT_EQ(fx("(T6,I3)", {42}), "      42");
    EXPECT_EQ(fx("(1X,'ABCDEF',T3,'XY')", {}), " AXYDEF");
    EXPECT_EQ(fx("(1X,'ABCDEF',TL2,'Z',TR2,'Q')", {}), " ABCDZF Q");
}

TEST(FixedFormat, SlashAndReversionStartNewLines) {
    EXPECT_EQ(fx("(1X,I5,' SUBJECTS',/,1X,'PASS',1X,I2)", {7, 1}), "     7 SUBJECTS\n PASS  1");
    EXPECT_EQ(fx("(1X,3I3)", {1, 2, 3, 4, 5, 6, 7}), "   1  2  3\n   4  5  6\n   7");
    // Reversion restarts at the last top-level group, with its repeat count.
    EXPECT_EQ(fx("(1X,I2,2(1X,I3))", {1, 2, 3, 4, 5, 6, 7}), "  1   2   3\n   4   5\n   6   7");
}

TEST(FixedFormat, OutputStopsAtFirstDataDescriptorWithoutValue) {
    EXPECT_EQ(fx("(' ITEM# ',11I5)", {1, 2, 3, -9}), " ITEM#     1    2    3   -9");
    EXPECT_EQ(fx("(2X,I3,2X,11I5)", {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
              "   12      1    2    3    4    5    6    7    8    9   10   11");
    EXPECT_EQ(fx("(' A=',I3,' B=',I3)", {5}), " A=  5 B=");
}

TEST(FixedFormat, ExponentFormsWithScaleFactor) {
    EXPECT_EQ(fx("(1PE14.6)", {-1.0}), " -1.000000E+00");
    EXPECT_EQ(fx("(1PE14.6)", {123456.789}), "  1.234568E+05");
    EXPECT_EQ(fx("(E14.6)", {0.0}), "  0.000000E+00");
    EXPECT_EQ(fx("(1PD24.15)", {3.14159265358979}), "   3.141592653589790D+00");
    EXPECT_EQ(fx("(1PD24.15)", {1.0e-300}), "   1.000000000000000-300");
    EXPECT_EQ(fx("(D24.15)", {0.0}), "   0.000000000000000D+00");
    EXPECT_EQ(fx("(E12.4)", {0.000123456}), "  0.1235E-03");
}

TEST(FixedFormat, TextsAndQuotes) {
    EXPECT_EQ(fx("(A,A5,A2)", {"abc", "de", "xyz"}), "abc   dexy");
    EXPECT_EQ(fx("(' ***** TODAY''S DATE: ',I2,'/',I2,'/',I4,' TODAY''S TIME: ',I2,':',I2,':',I2,' *****')",
                 {1, 2, 2004, 0, 5, 9}),
              " ***** TODAY'S DATE:  1/ 2/2004 TODAY'S TIME:  0: 5: 9 *****");
    EXPECT_EQ(fx("(\"say \"\"hi\"\"\")", {}), "say \"hi\"");
}

TEST(FixedFormat, BadLayoutsAreProgrammingErrors) {
    EXPECT_THROW(fx("1X,I4", {1}), std::invalid_argument);
    EXPECT_THROW(fx("(1X,Q4)", {1}), std::invalid_argument);
    EXPECT_THROW(fx("(F8)", {1.0}), std::invalid_argument);
    EXPECT_THROW(fx("(I4)", {1.5}), std::invalid_argument);
    EXPECT_THROW(fx("('X')", {1}), std::invalid_argument);  // values but nothing to take them
}

TEST(FreeFormat, ItemsFollowOneBlank) {
    EXPECT_EQ(format_free({}), " ");
    EXPECT_EQ(format_free({"start"}), " start");
    EXPECT_EQ(format_free({" ITEM #", 3, ":", 2}), "  ITEM #3:2");
    EXPECT_EQ(format_free({" IS: ", -12345.678901234}), "  IS: -12345.6789");
}

TEST(FreeFormat, RealsKeepTenSignificantDigits) {
    EXPECT_EQ(format_free_real(0.0), "0.0");
    EXPECT_EQ(format_free_real(1.0), "1.0");
    EXPECT_EQ(format_free_real(0.1), "0.1");
    EXPECT_EQ(format_free_real(2.0 / 3.0), "0.6666666667");
    EXPECT_EQ(format_free_real(-1234567.891234), "-1234567.891");
    EXPECT_EQ(format_free_real(1.5e-7), "1.500000000E-07");
    EXPECT_EQ(format_free_real(3.0e12), "3.000000000E+12");
    EXPECT_EQ(format_free_real(std::nan("")), "NaN");
}

TEST(FreeRead, NumbersFromTheStartOfTheLine) {
    long long i = 0;
    double x = 0;
    EXPECT_EQ(parse_free_int("8             model", i), FreeValue::Ok);
    EXPECT_EQ(i, 8);
    EXPECT_EQ(parse_free_int("  -12,rest", i), FreeValue::Ok);
    EXPECT_EQ(i, -12);
    EXPECT_EQ(parse_free_int("+7", i), FreeValue::Ok);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(parse_free_int("    ", i), FreeValue::NoValue);
    EXPECT_EQ(parse_free_int("3.5", i), FreeValue::Error);
    EXPECT_EQ(parse_free_int("Y", i), FreeValue::Error);
    EXPECT_EQ(parse_free_int("99999999999999999999", i), FreeValue::Error);
    EXPECT_EQ(parse_free_int("+-15", i), FreeValue::Error);  // one sign at most
    EXPECT_EQ(parse_free_real(".01  criterion", x), FreeValue::Ok);
    EXPECT_DOUBLE_EQ(x, 0.01);
    EXPECT_EQ(parse_free_real("1D-3", x), FreeValue::Ok);
    EXPECT_DOUBLE_EQ(x, 0.001);
    EXPECT_EQ(parse_free_real("-2.5E+1", x), FreeValue::Ok);
    EXPECT_DOUBLE_EQ(x, -25.0);
    EXPECT_EQ(parse_free_real("5.", x), FreeValue::Ok);
    EXPECT_DOUBLE_EQ(x, 5.0);
    EXPECT_EQ(parse_free_real("nan", x), FreeValue::Error);
    EXPECT_EQ(parse_free_real("1E", x), FreeValue::Error);
    EXPECT_EQ(parse_free_real(".", x), FreeValue::Error);
    EXPECT_EQ(parse_free_real("+-15", x), FreeValue::Error);
}

TEST(JobRecords, NumberRecordsPassOverBlankLinesAndLinesLoseTheirCR) {
    std::istringstream in("\r\n   \r\n12   label\r\nY\r\n\r\nC:\\DATA\\X.DAT  \r\n");
    LineReader r(in);
    long long v = 0;
    char c = 0;
    std::string t;
    ASSERT_EQ(read_int_record(r, v), ReadStatus::Ok);
    EXPECT_EQ(v, 12);
    ASSERT_EQ(read_letter_record(r, c), ReadStatus::Ok);
    EXPECT_EQ(c, 'Y');
    ASSERT_EQ(read_letter_record(r, c), ReadStatus::Ok);
    EXPECT_EQ(c, ' ');  // an empty line is a blank letter
    ASSERT_EQ(read_text_record(r, t), ReadStatus::Ok);
    EXPECT_EQ(t, "C:\\DATA\\X.DAT  ");
    EXPECT_EQ(read_int_record(r, v), ReadStatus::End);
}

TEST(JobRecords, NonNumberIsAnError) {
    std::istringstream in("\nabc\n");
    LineReader r(in);
    double x = 0;
    EXPECT_EQ(read_real_record(r, x), ReadStatus::Error);
}

std::unique_ptr<RecordFormat> fmt(const char* s) {
    std::string why;
    auto f = RecordFormat::parse(s, &why);
    EXPECT_TRUE(f) << s << ": " << why;
    return f;
}

TEST(RecordFormatRead, RejectsFormatsItCannotUse) {
    EXPECT_FALSE(RecordFormat::parse("i4,1x,25i1"));
    EXPECT_FALSE(RecordFormat::parse("(i4,1x,25i1"));
    EXPECT_FALSE(RecordFormat::parse("(F5.2)"));
    EXPECT_FALSE(RecordFormat::parse("(A4,25I1)"));
    EXPECT_FALSE(RecordFormat::parse("(I0,5I1)"));
    EXPECT_FALSE(RecordFormat::parse("(T0,I1)"));
    EXPECT_FALSE(RecordFormat::parse(""));
}

TEST(RecordFormatRead, FieldsBlankFieldsAndShortLines) {
    std::istringstream in("  12 3 4\n 7\n   5123\n");
    LineReader r(in);
    auto f = fmt("(I4,1X,I1,T8,I1)");
    std::vector<std::int64_t> v;
    ASSERT_EQ(f->read(r, 3, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{12, 3, 4}));
    ASSERT_EQ(f->read(r, 3, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{7, 0, 0}));
    ASSERT_EQ(f->read(r, 3, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{5, 2, 0}));
    EXPECT_EQ(f->read(r, 3, v), ReadStatus::End);
}

TEST(RecordFormatRead, ReversionTakesTheNextLineAndEndOfFileInsideARecordEndsReading) {
    std::istringstream in("\n  99 1 2 3 4\n 5 6\n");
    LineReader r(in);
    auto f = fmt("(I4,(1X,I1))");
    std::vector<std::int64_t> v;
    EXPECT_EQ(f->read(r, 6, v), ReadStatus::End);
    EXPECT_EQ(r.lines_read(), 3);
}

TEST(RecordFormatRead, ReversionCompletesARecordOverSeveralLines) {
    std::istringstream in("   1 2 3\n 4 5\n   2 6 7\n 8 9\n");
    LineReader r(in);
    auto f = fmt("(i4,2(1x,i1))");
    std::vector<std::int64_t> v;
    ASSERT_EQ(f->read(r, 5, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{1, 2, 3, 4, 5}));
    ASSERT_EQ(f->read(r, 5, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{2, 6, 7, 8, 9}));
}

TEST(RecordFormatRead, CrLfLinesSlashAndCase) {
    std::istringstream in("1234512345\r\n   9 8\r\n");
    LineReader r(in);
    auto f = fmt("(2i5,/,I4,1X,I1)");
    std::vector<std::int64_t> v;
    ASSERT_EQ(f->read(r, 4, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{12345, 12345, 9, 8}));
}

TEST(RecordFormatRead, BlanksInsideAFieldAreIgnoredAndSignsRead) {
    std::istringstream in(" 1 2-9 -3\n");
    LineReader r(in);
    auto f = fmt("(I4,I2,TL1,I1,TR1,I2)");
    std::vector<std::int64_t> v;
    ASSERT_EQ(f->read(r, 4, v), ReadStatus::Ok);
    EXPECT_EQ(v, (std::vector<std::int64_t>{12, -9, 9, -3}));
}

TEST(RecordFormatRead, NonNumericFieldAndFormatWithoutFieldsAreErrors) {
    std::istringstream in("   1 x\n");
    LineReader r(in);
    std::vector<std::int64_t> v;
    EXPECT_EQ(fmt("(I4,1X,I1)")->read(r, 2, v), ReadStatus::Error);
    std::istringstream in2("abc\nabc\n");
    LineReader r2(in2);
    EXPECT_EQ(fmt("(1X)")->read(r2, 1, v), ReadStatus::Error);
}

TEST(FreeRead, UnderflowReadsAsZeroOverflowIsNoNumber) {
    struct Case {
        const char* text;
        FreeValue status;
        double value;
    };
    const std::string tiny_fraction = "0." + std::string(400, '0') + "1E+5";
    const std::string huge_mantissa = "1" + std::string(400, '0') + "E-5";
    const Case cases[] = {
        {"1e-400", FreeValue::Ok, 0.0},
        {"-1D-999 criterion", FreeValue::Ok, -0.0},
        {tiny_fraction.c_str(), FreeValue::Ok, 0.0},
        {"1e-310", FreeValue::Ok, 1e-310},
        {"1e400", FreeValue::Error, 0.0},
        {huge_mantissa.c_str(), FreeValue::Error, 0.0},
    };
    for (const auto& c : cases) {
        double x = 99.0;
        EXPECT_EQ(parse_free_real(c.text, x), c.status) << c.text;
        if (c.status == FreeValue::Ok) {
            EXPECT_EQ(x, c.value) << c.text;
            EXPECT_EQ(std::signbit(x), std::signbit(c.value)) << c.text;
        }
    }
}

TEST(LineReading, LineLongerThanAnyRecordIsNotHeld) {
    std::string text = "ok\n" + std::string(LineReader::kMaxLineLength, '7') + "\n" +
                       std::string(LineReader::kMaxLineLength + 1, '7') + "\nnot reached\n";
    std::istringstream in(text);
    LineReader r(in);
    std::string line;
    ASSERT_TRUE(r.next(line));
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line.size(), LineReader::kMaxLineLength);
    EXPECT_FALSE(r.too_long());
    EXPECT_FALSE(r.next(line));
    EXPECT_TRUE(r.too_long());
    EXPECT_EQ(r.lines_read(), 2);

    // In a data record the long line is a read error, not the end of the data.
    std::istringstream data("   1 1\n" + std::string(LineReader::kMaxLineLength + 1, ' ') + "\n");
    LineReader d(data);
    std::vector<std::int64_t> v;
    auto f = fmt("(I4,1X,I1)");
    EXPECT_EQ(f->read(d, 2, v), ReadStatus::Ok);
    EXPECT_EQ(f->read(d, 2, v), ReadStatus::Error);
}

TEST(RecordFormatRead, TextAfterTheClosingParenthesisIsIgnored) {
    for (const char* text : {"(i4,1x,2i1) ids and two items", "(i4,1x,2i1))", "(i4,1x,2i1)   "}) {
        std::istringstream in("  12 34\n");
        LineReader r(in);
        std::vector<std::int64_t> v;
        ASSERT_EQ(fmt(text)->read(r, 3, v), ReadStatus::Ok) << text;
        EXPECT_EQ(v, (std::vector<std::int64_t>{12, 3, 4})) << text;
    }
}

// A column counter that passes the integer range, groups nested beyond the
// stack, and repeat counts that expand without end are refused before any
// line is read.
TEST(RecordFormatRead, RejectsFormatsBeyondItsBounds) {
    const std::string deep = std::string(30000, '(') + "I5" + std::string(30000, ')');
    const std::string deep_ok = std::string(100, '(') + "I5" + std::string(100, ')');
    const std::string deep_bad = std::string(101, '(') + "I5" + std::string(101, ')');
    for (const std::string& text :
         {std::string("(I5,2148(1000000X),15I1)"), std::string("(999(1000000X),999990X,I11)"), deep, deep_bad,
          std::string("(1000000/)"), std::string("(I1,2(60000/))"), std::string("(60000I1,60000I1)")})
        EXPECT_FALSE(RecordFormat::parse(text)) << text.substr(0, 40);
    EXPECT_TRUE(RecordFormat::parse(deep_ok));
    EXPECT_TRUE(RecordFormat::parse("(999(1000000X),999990X,I10)"));
    EXPECT_TRUE(RecordFormat::parse("(I5,50000/,I1)"));
}

// A field far wider than its line reads what the line holds and blanks for
// the rest.  (That reading costs the characters on the line, not the field's
// width, is timed by bench/textio_bench.cpp on these records.)
TEST(RecordFormatRead, VeryWideFieldsReadWhatTheLineHolds) {
    std::string text;
    for (int k = 1; k <= 2000; ++k) text += std::to_string(k) + "\n";
    std::istringstream in(text);
    LineReader r(in);
    auto f = fmt("(101I1000000)");
    std::vector<std::int64_t> v;
    for (int k = 1; k <= 2000; ++k) {
        ASSERT_EQ(f->read(r, 101, v), ReadStatus::Ok);
        ASSERT_EQ(v[0], k);
        ASSERT_EQ(v[100], 0);
    }
}

// Each case: a layout, the record's text and the fields read (NaN: the field
// holds no value of its kind; texts are compared by their first character).
TEST(FixedRead, RecordsComeBackWithTheirLayouts) {
    struct Case {
        const char* layout;
        std::string text;
        std::vector<double> values;
    };
    const double no = std::nan("");
    const char* scratch = "(2(1X,F10.5),1X,I4,1X,A3,F10.5)";
    const Case cases[] = {
        {scratch, fx(scratch, {1.234567891, 12345.6, -7, "+++", -0.000004}), {1.23457, no, -7, '+', 0.0}},
        {"(F6.2,F6.2)", "  1234 12.5", {12.34, 12.5}},    // no point: the last d digits are decimals
        {"(F8.2,F6.0)", "  1.5E2 -3D-1", {150.0, -0.3}},  // exponents
        {"(F4.1,I3,F5.2)", "    1 2", {0.0, 12, 0.0}},    // blanks are nulls, past the line end too
        {"(I2,/,T3,I2)", " 7\n  -4", {7, -4}},            // slash and tab
        {"(1X,I2)", " 1\n 2\n 3", {1, 2, 3}},             // reversion takes the next line
        {"(F5.2,I3,L2)", "1.2.3 x1 T", {no, no, 1}},      // not numbers; a logical
        {"(1P,F6.2)", "  1234", {1.234}},                 // a scale factor with no exponent
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text + "\n");
        LineReader r(in);
        std::vector<FixedField> f;
        ASSERT_EQ(read_fixed(r, c.layout, static_cast<int>(c.values.size()), f), ReadStatus::Ok) << c.layout;
        for (std::size_t k = 0; k < c.values.size(); ++k) {
            const double got = !f[k].ok ? no : !f[k].text.empty() ? f[k].text[0] : f[k].real + f[k].integer;
            EXPECT_TRUE(std::isnan(c.values[k]) ? std::isnan(got) : std::fabs(got - c.values[k]) < 1e-15)
                << c.layout << " field " << k << " read " << got;
        }
        EXPECT_EQ(read_fixed(r, c.layout, 1, f), ReadStatus::End) << c.layout;
    }
}

}  // namespace
}  // namespace vorm
