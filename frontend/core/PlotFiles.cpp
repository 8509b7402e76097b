#include "PlotFiles.h"

#include <QString>

#include "platform/Numbers.h"

namespace vormgui::plot {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::optional<double> number(std::string_view text) {
    return parseNumber(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

class Tokens {
public:
    explicit Tokens(std::string_view bytes) : s_(bytes) { skipBlanks(); }
    bool atEnd() const { return i_ >= s_.size(); }
    std::string_view next() {
        const std::size_t start = i_;
        while (i_ < s_.size() && !isBlank(s_[i_])) ++i_;
        const std::string_view token = s_.substr(start, i_ - start);
        skipBlanks();
        return token;
    }

private:
    void skipBlanks() {
        while (i_ < s_.size() && isBlank(s_[i_])) ++i_;
    }
    std::string_view s_;
    std::size_t i_ = 0;
};

int countFields(std::string_view line) {
    Tokens fields(line);
    int count = 0;
    while (!fields.atEnd() && count < kMaxColumns) {
        fields.next();
        ++count;
    }
    return count;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The text of a title or label line: from 0-based `first` to before the
// last character; nullopt when the line does not reach `first`.
std::optional<std::string> quoted(std::string_view line, std::size_t first) {
    if (line.size() < first + 1) return std::nullopt;
    return std::string(line.substr(first, line.size() - 1 - first));
}

std::optional<Range> range(std::string_view line) {
    // "set xrange [" puts the low value at 0-based column 12.
    const std::size_t colon = line.find(':', 11);
    if (colon == std::string_view::npos || colon < 12 || line.size() < colon + 2) return std::nullopt;
    const auto low = number(line.substr(12, colon - 12));
    const auto high = number(line.substr(colon + 1, line.size() - 2 - colon));
    if (!low || !high) return std::nullopt;
    return Range{*low, *high};
}

bool readTitle(std::string_view line, PlotScript& s) {
    const auto text = quoted(line, 11);
    if (!text) return false;
    // A backslash before the closing quote splits "upper\nmain".
    const std::size_t bs = line.find('\\', 11);
    if (bs == std::string_view::npos || bs >= line.size() - 1) {
        s.upperTitle.clear();
        s.mainTitle = *text;
        return true;
    }
    s.upperTitle = std::string(line.substr(11, bs - 11));
    const std::size_t mainStart = std::min(bs + 2, line.size() - 1);
    s.mainTitle = std::string(line.substr(mainStart, line.size() - 1 - mainStart));
    return true;
}

bool readLine(std::string_view line, PlotScript& s) {
    if (line.starts_with("set title")) return readTitle(line, s);
    if (line.starts_with("set xlabel") || line.starts_with("set ylabel")) {
        auto text = quoted(line, 12);
        if (!text) return false;
        (line[4] == 'x' ? s.xLabel : s.yLabel) = std::move(*text);
        return true;
    }
    if (line.starts_with("set xrange") || line.starts_with("set yrange")) {
        const auto r = range(line);
        if (!r) return false;
        (line[4] == 'x' ? s.xRange : s.yRange) = r;
        return true;
    }
    if (line.starts_with("plot")) s.plotLine = std::string(line);
    return true;
}

}  // namespace

DataRead readPlotData(std::string_view bytes) {
    DataRead result;
    if (bytes.empty()) return result;
    const std::size_t firstEnd = bytes.find('\n');
    result.table.columns = countFields(bytes.substr(0, firstEnd));
    if (result.table.columns == 0) {
        result.status = DataStatus::NoFields;
        return result;
    }

    Tokens numbers(bytes);
    std::vector<std::array<double, kTableColumns + 1>>& rows = result.table.rows;
    while (!numbers.atEnd()) {
        if (static_cast<int>(rows.size()) == kMaxRecords) {
            result.status = DataStatus::Overflow;
            rows.clear();
            return result;
        }
        std::array<double, kTableColumns + 1> row{};
        int c = 1;
        for (; c <= result.table.columns && !numbers.atEnd(); ++c) {
            const auto value = number(numbers.next());
            if (!value) {
                rows.clear();
                return result;
            }
            row[static_cast<std::size_t>(c)] = *value;
        }
        if (c > result.table.columns) rows.push_back(row);
    }
    result.status = DataStatus::Ok;
    return result;
}

ScriptRead readPlotScript(std::string_view bytes) {
    ScriptRead result;
    const std::vector<std::string_view> lines = splitLines(bytes);
    for (std::size_t k = 0; k < 9; ++k)
        if (k >= lines.size() || !readLine(lines[k], result.script)) return result;
    result.ok = true;
    return result;
}

}  // namespace vormgui::plot
