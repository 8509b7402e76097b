#include "numlib/Numlib_text.h"

#include <algorithm>

#include "numlib/Numlib_error.h"

namespace vorm {

int TEXT_TO_INT(std::string_view text, int& next) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        // Saturate instead of overflowing on a run of digits too long for an int.
        if (v < 2147483648LL) v = v * 10 + (text[i] - '0');
        ++i;
    }
    next = static_cast<int>(i) + 1;
    if (negative) v = -v;
    return static_cast<int>(std::clamp(v, -2147483647LL - 1, 2147483647LL));
}

std::string INT_TO_TEXT(long long value, int width) {
    if (width <= 0) return {};
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) > width) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - digits.size(), ' ') + digits;
}

int SKIP_SET(std::string_view text, std::string_view set) {
    std::size_t p = text.find_first_not_of(set);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int STR_INDEX(std::string_view text, std::string_view sub) {
    if (sub.empty()) return 0;
    std::size_t p = text.find(sub);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int STR_INDEX_NOCASE(std::string_view text, std::string_view sub) {
    if (sub.empty() || sub.size() > text.size()) return 0;
    for (std::size_t i = 0; i + sub.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < sub.size() && CHAR_EQ_NOCASE(text[i + j], sub[j])) ++j;
        if (j == sub.size()) return static_cast<int>(i) + 1;
    }
    return 0;
}

int STR_CMP_NOCASE(std::string_view a, std::string_view b) {
    std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int ca = CHAR_UPCODE(i < a.size() ? a[i] : ' ');
        int cb = CHAR_UPCODE(i < b.size() ? b[i] : ' ');
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

void STR_PLACE(std::string_view from, int first, int last, std::string& to, int to_first, int to_last, bool& overflow) {
    overflow = false;
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(from.size()));
    to_first = std::max(to_first, 1);
    to_last = std::min(to_last, static_cast<int>(to.size()));
    int j = to_first;
    for (int i = first; i <= last; ++i) {
        if (j > to_last) {
            overflow = true;
            return;
        }
        to[static_cast<std::size_t>(j - 1)] = from[static_cast<std::size_t>(i - 1)];
        ++j;
    }
}

int CHAR_CODE(char c) { return static_cast<unsigned char>(c); }

char CODE_CHAR(int code) { return static_cast<char>(static_cast<unsigned char>(code)); }

char ACHAR(int code) {
    if (code < 0) {
        E1PSH("ACHAR ");
        MSG_SETI(1, code);
        E1MES(5, 1, "The ASCII value must be non-negative while I = %(I1) is given.");
        E1POP("ACHAR ");
        return ' ';
    }
    return CODE_CHAR(code);
}

int CHAR_UPCODE(char c) {
    int k = CHAR_CODE(c);
    return (k >= 'a' && k <= 'z') ? k - 'a' + 'A' : k;
}

bool CHAR_EQ_NOCASE(char a, char b) { return CHAR_UPCODE(a) == CHAR_UPCODE(b); }

}  // namespace vorm
