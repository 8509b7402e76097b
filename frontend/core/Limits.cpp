#include "Limits.h"

#include <charconv>
#include <string>

namespace vormgui {

std::optional<std::int64_t> parseWhole(const QString& text) {
    const QString t = text.trimmed();
    qsizetype k = !t.isEmpty() && t[0] == QLatin1Char('+') ? 1 : 0;
    if (k == 1 && t.size() > 1 && t[1] == QLatin1Char('-')) return std::nullopt;
    // from_chars takes a minus sign but no plus, and digits only after it, as
    // the engine's reading does; it refuses what 64 bits cannot hold.
    std::string digits;
    for (; k < t.size(); ++k) {
        const char16_t c = t[k].unicode();
        if (c > 0x7f) return std::nullopt;
        digits += static_cast<char>(c);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<int> parseCount(const QString& text, Range range) {
    const std::optional<std::int64_t> value = parseWhole(text);
    if (!value || !range.contains(*value)) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace vormgui
