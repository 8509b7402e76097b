#include "platform/Numbers.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace vormgui {
namespace {

TEST(ParseNumber, RejectsWhatIsNotADecimalNumber) {
    for (const char* text : {"",    "   ", "abc",   "1,5", "0,001", "inf", "-inf", "nan", "0x10",  "1e", "1e+",
                             "--1", "+-1", "1.2.3", "+",   "-",     ".",   "e5",   "1 2", "12abc", "\t"}) {
        EXPECT_FALSE(parseNumber(QString::fromLatin1(text)).has_value()) << '"' << text << '"';
    }
}

TEST(ParseNumber, ReadsDecimalFormsWithBlanksAround) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"2.576", 2.576}, {" 2.576 ", 2.576}, {"-1e-3", -0.001},   {".5", 0.5},
                 {"+7", 7.0},      {"5.", 5.0},        {"1E2", 100.0},      {"0.001", 0.001},
                 {"-0", -0.0},     {"30", 30.0},       {"\t3.291\n", 3.291}};
    for (const auto& c : cases) {
        const auto value = parseNumber(QString::fromLatin1(c.text));
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

TEST(NearestCount, RoundsHalvesToEvenAndChecksTheRangeAfterRounding) {
    const struct {
        const char* text;
        std::optional<std::int16_t> count;
    } cases[] = {{"2.5", 2},      {"3.5", 4},    {"-2.5", -2},         {"-3.5", -4},
                 {"0.49999", 0},  {"1e2", 100},  {" 30 ", 30},         {"32767.4", 32767},
                 {"32767.5", {}}, {"32768", {}}, {"-32768.5", -32768}, {"-32768.6", {}},
                 {"-32769", {}},  {"1e10", {}},  {"abc", {}},          {"", {}}};
    for (const auto& c : cases) EXPECT_EQ(nearestCount(QString::fromLatin1(c.text)), c.count) << c.text;
}

TEST(BoxText, IsTheShortestDecimalThatReadsBackTheSame) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {30.0, "30"},   {0.001, "0.001"},  {2.576, "2.576"}, {-0.5, "-0.5"},         {0.0, "0"},
        {-0.0, "0"},    {1e-5, "0.00001"}, {1e-7, "1e-07"},  {123456.5, "123456.5"}, {0.1 + 0.2, "0.30000000000000004"},
        {1e15, "1e+15"}};
    for (const auto& c : cases) EXPECT_EQ(boxText(c.value).toStdString(), c.text) << c.value;

    std::mt19937_64 rng(17);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-8, 16);
    for (int k = 0; k < 2000; ++k) {
        const double x = mantissa(rng) * std::pow(10.0, exponent(rng));
        EXPECT_EQ(parseNumber(boxText(x)), x) << boxText(x).toStdString();
    }
}

TEST(TickLabel, HasABlankOrMinusAndNoZeroBeforeThePoint) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.3, " .3"},        {-0.5, "-.5"},
                 {0.0, " 0"},         {-0.0, " 0"},
                 {12.0, " 12"},       {1.5, " 1.5"},
                 {-12.25, "-12.25"},  {1e-20, " 1E-20"},
                 {0.1 + 0.2, " .3"},  {1e15, " 1E+15"},
                 {-4.0, "-4"},        {0.05, " .05"},
                 {-0.0001, "-.0001"}, {123456789012345.0, " 123456789012345"}};
    for (const auto& c : cases) EXPECT_EQ(tickLabel(c.value).toStdString(), c.text) << c.value;
}

TEST(MessageNumber, HasFifteenDigitsAtMostAndAZeroBeforeThePoint) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.3, "0.3"}, {-2.5, "-2.5"}, {2000.0, "2000"}, {0.1 + 0.2, "0.3"}, {0.01, "0.01"}, {-0.0, "0"}};
    for (const auto& c : cases) EXPECT_EQ(messageNumber(c.value).toStdString(), c.text) << c.value;
}

// Every helper once over a set of inputs, as one text, to compare two locales.
std::string allConversions() {
    std::string out;
    for (const char* text : {"2.576", "0,001", " 1e-3 ", "2.5", "3.5", "-32768.5"}) {
        const QString t = QString::fromLatin1(text);
        const auto number = parseNumber(t);
        const auto count = nearestCount(t);
        out += (number ? boxText(*number).toStdString() : "-") + "|" + (count ? std::to_string(*count) : "-") + ";";
    }
    for (double x : {0.001, 2.576, -0.5, 1e-7, 1234.5})
        out += boxText(x).toStdString() + "|" + tickLabel(x).toStdString() + "|" + messageNumber(x).toStdString() + ";";
    return out;
}

TEST(Numbers, GiveTheSameResultsUnderACommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const QLocale savedQt;
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    const std::string inC = allConversions();

    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the German locale (locales-all) is missing";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5") << "the comma locale is not in force, so this test would prove nothing";
    const std::string inGerman = allConversions();

    std::setlocale(LC_ALL, saved.c_str());
    QLocale::setDefault(savedQt);
    EXPECT_EQ(inGerman, inC);
    EXPECT_EQ(inC,
              "2.576|3;-|-;0.001|0;2.5|2;3.5|4;-32768.5|-32768;0.001| .001|0.001;2.576| 2.576|2.576;-0.5|-.5|-0.5;"
              "1e-07| 1E-07|1E-07;1234.5| 1234.5|1234.5;");
}

// The suite's second run sets LC_ALL to a comma locale, which QApplication
// takes over; if it did not, that run would prove nothing.
TEST(Numbers, TheCommaLocaleRunRunsUnderACommaLocale) {
    if (!qgetenv("LC_ALL").startsWith("de_DE")) GTEST_SKIP() << "not the comma-locale run";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5");
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
}

}  // namespace
}  // namespace vormgui
