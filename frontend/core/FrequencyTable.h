// The response frequency table by item, read back out of the engine's report
// FT06F001 for the bar chart.  Nothing else of the report is read.
//
// The table starts after the exact line
// "  ******* RESPONSE FREQUENCY COUNTS BY ITEM *******", one line below it
// stands the heading (" ITEM# " and one 5-character label per value column),
// then a line of dashes, then per item its number and its values: the counts
// of categories 1 to K and last the count of missing responses.  Numbers are
// read as a stream, so a row may go on over the next line (a layout with the
// missing count on a line of its own reads the same); a blank line, an item
// number 0 or a hundredth row ends the table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vormgui {

struct FrequencyRow {
    int item = 0;             // the item's number in the data
    std::vector<int> values;  // category counts, then the missing count
};

struct FrequencyTable {
    static constexpr int kMaxRows = 100;

    // From the heading line's length L: (L - 7) / 5 rounded, at least 2, at most 11.
    int valuesPerRow = 0;
    std::vector<FrequencyRow> rows;

    // The charted values of a row: its category counts, without the missing count.
    int bars() const { return valuesPerRow - 1; }
};

enum class FrequencyFault {
    None,
    NotExpected,  // no table line, or the report ends inside the table
    NotANumber,   // a field that is no whole number
    TooLarge,     // a whole number beyond a 32-bit count
    Overflow,     // stars where a number did not fit its field
    NoItems,      // the table lists no item
};

struct FrequencyRead {
    FrequencyTable table;
    FrequencyFault fault = FrequencyFault::None;
    // Where a NotANumber, TooLarge or Overflow field stands: the table row (1-based)
    // and the item number of that row, 0 when the item number itself is the
    // field; and the field (for Overflow its stars only).
    int faultRow = 0;
    int faultItem = 0;
    std::string faultField;
};

// Reads the table out of the whole text of a report; a trailing CR on any
// line is ignored.
FrequencyRead readFrequencyTable(std::string_view report);

}  // namespace vormgui
