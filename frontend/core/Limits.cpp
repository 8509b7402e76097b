#include "Limits.h"

namespace vormgui {

std::optional<int> parseCount(const QString& text, Range range) {
    const QString t = text.trimmed();
    qsizetype k = !t.isEmpty() && (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-')) ? 1 : 0;
    if (k == t.size()) return std::nullopt;
    long long value = 0;
    for (; k < t.size(); ++k) {
        const char16_t c = t[k].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        // Far beyond any range: more digits cannot bring it back.
        if (value < 1000000000LL) value = value * 10 + (c - u'0');
    }
    if (t[0] == QLatin1Char('-')) value = -value;
    if (!range.contains(value)) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace vormgui
