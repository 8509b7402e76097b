#include "Numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace vormgui {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number part must be what the engine's and a user's eyes agree on:
// std::from_chars alone would also take "inf", "nan" and hexadecimal forms.
bool wellFormed(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

std::string toChars(double value, std::chars_format format, int precision = -1) {
    std::array<char, 64> buf{};
    const auto r = precision < 0 ? std::to_chars(buf.data(), buf.data() + buf.size(), value, format)
                                 : std::to_chars(buf.data(), buf.data() + buf.size(), value, format, precision);
    return std::string(buf.data(), r.ptr);
}

// Up to 15 significant digits in %g's layout, exponent in capitals.
std::string fifteenDigits(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    std::string s = toChars(value, std::chars_format::general, 15);
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}

}  // namespace

std::optional<double> parseNumber(const QString& text) {
    const std::string s = text.trimmed().toStdString();
    if (!wellFormed(s)) return std::nullopt;
    const char* first = s.data() + (s[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto r = std::from_chars(first, s.data() + s.size(), value);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<std::int16_t> nearestCount(const QString& text) {
    const std::optional<double> value = parseNumber(text);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);  // the default rounding mode sends halves to even
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

QString boxText(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0.0 || (magnitude >= 1e-5 && magnitude < 1e15);
    return QString::fromStdString(toChars(value, plain ? std::chars_format::fixed : std::chars_format::general));
}

QString tickLabel(double value) {
    std::string s = fifteenDigits(value);
    const bool negative = s[0] == '-';
    const std::size_t digits = negative ? 1 : 0;
    if (s.compare(digits, 2, "0.") == 0) s.erase(digits, 1);
    if (!negative) s.insert(0, 1, ' ');
    return QString::fromStdString(s);
}

QString messageNumber(double value) { return QString::fromStdString(fifteenDigits(value)); }

}  // namespace vormgui
