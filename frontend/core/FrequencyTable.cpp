#include "FrequencyTable.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace vormgui {

namespace {

constexpr std::string_view kTableLine = "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******";

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    std::optional<std::string_view> next() {
        if (pos_ >= text_.size()) return std::nullopt;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The numbers of the table as one stream: blanks and line ends separate
// them, and a line holding nothing but blanks is one empty field.
class Fields {
public:
    explicit Fields(Lines& lines) : lines_(lines) {}

    // nullopt at the end of the report; an empty view for a blank line.
    std::optional<std::string_view> next() {
        for (;;) {
            while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
            if (pos_ < line_.size()) {
                const std::size_t start = pos_;
                while (pos_ < line_.size() && !isBlank(line_[pos_])) ++pos_;
                return line_.substr(start, pos_ - start);
            }
            const auto line = lines_.next();
            if (!line) return std::nullopt;
            line_ = *line;
            pos_ = 0;
            if (std::all_of(line_.begin(), line_.end(), isBlank)) {
                line_ = {};
                return std::string_view();
            }
        }
    }

private:
    Lines& lines_;
    std::string_view line_;
    std::size_t pos_ = 0;
};

struct WholeNumber {
    std::optional<int> value;
    bool tooLarge = false;  // digits only, but beyond an int
};

WholeNumber wholeNumber(std::string_view field) {
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    int value = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || r.ptr != field.data() + field.size()) return {};
    if (r.ec == std::errc::result_out_of_range) return {std::nullopt, true};
    if (r.ec != std::errc()) return {};
    return {value};
}

// A number too wide for its field is printed as stars filling the field,
// which may touch the number before it ("   12*****").
bool hasStars(std::string_view field) { return field.find('*') != std::string_view::npos; }

int valuesPerRowOfHeading(std::size_t headingLength) {
    if (headingLength >= 58) return 11;
    if (headingLength < 17) return 2;
    // (L - 7) / 5 is never a half, so rounding to nearest needs no tie rule.
    return static_cast<int>((2 * (headingLength - 7) + 5) / 10);
}

}  // namespace

FrequencyRead readFrequencyTable(std::string_view report) {
    FrequencyRead read;
    auto fail = [&read](FrequencyFault fault, int row = 0, int item = 0, std::string_view field = {}) {
        read.fault = fault;
        read.faultRow = row;
        read.faultItem = item;
        read.faultField = field;
        read.table.rows.clear();
        return read;
    };

    Lines lines(report);
    for (;;) {
        const auto line = lines.next();
        if (!line) return fail(FrequencyFault::NotExpected);
        if (*line == kTableLine) break;
    }
    const auto gap = lines.next();
    const auto heading = lines.next();
    const auto dashes = lines.next();
    if (!gap || !heading || !dashes) return fail(FrequencyFault::NotExpected);
    read.table.valuesPerRow = valuesPerRowOfHeading(heading->size());

    Fields fields(lines);
    // A field that cannot be read as a count: stars mean the report had no
    // room for it, a long run of digits a number beyond any count, anything
    // else that the report is not laid out as expected.
    auto badField = [&](std::string_view field, const WholeNumber& number, int row, int item) {
        if (number.tooLarge) return fail(FrequencyFault::TooLarge, row, item, field);
        if (!hasStars(field)) return fail(FrequencyFault::NotANumber, row, item, field);
        const std::size_t first = field.find('*');
        return fail(FrequencyFault::Overflow, row, item, field.substr(first, field.rfind('*') - first + 1));
    };
    for (int row = 1; row <= FrequencyTable::kMaxRows; ++row) {
        const auto itemField = fields.next();
        if (!itemField) return fail(FrequencyFault::NotExpected);
        if (itemField->empty()) break;
        const WholeNumber item = wholeNumber(*itemField);
        if (!item.value) return badField(*itemField, item, row, 0);
        if (*item.value == 0) break;
        FrequencyRow r;
        r.item = *item.value;
        for (int v = 0; v < read.table.valuesPerRow; ++v) {
            const auto field = fields.next();
            // A blank line inside a row is a row cut short, not a zero.
            if (!field || field->empty()) return fail(FrequencyFault::NotExpected);
            const WholeNumber value = wholeNumber(*field);
            if (!value.value) return badField(*field, value, row, r.item);
            r.values.push_back(*value.value);
        }
        read.table.rows.push_back(std::move(r));
    }
    if (read.table.rows.empty()) return fail(FrequencyFault::NoItems);
    return read;
}

}  // namespace vormgui
