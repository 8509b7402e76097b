// Reading the engine's plot file pairs: the numeric data file and the first
// nine lines of its plot script.  Plain C++ over the files' bytes, so the
// readers are tested without files and without widgets.
//
// Data: the number of columns is the number of blank-separated fields on the
// first line (at most kMaxColumns); the numbers are then read as one stream,
// that many to a record, whatever the line breaks.  Records are 1-based and
// hold table columns 0..kTableColumns; a column beyond the file's own reads 0.
//
// Script: lines beginning with "set title", "set xlabel", "set ylabel",
// "set xrange", "set yrange" and "plot" (letter case as written) give the
// texts, the ranges and the plot line; every other line is ignored.  A text
// starts at the fixed column right after the keyword, a blank and the
// opening quote, and ends before the line's last character.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vormgui::plot {

// Room for an observed-versus-expected file of 2000 groups and more; a file
// that reaches record kMaxRecords + 1 is an overflow.
constexpr int kMaxRecords = 4095;
// Theta and the ten category probabilities of a ten-category item.
constexpr int kMaxColumns = 11;
// Columns that a plot line may name; those the file does not have read 0.
constexpr int kTableColumns = 32;

struct DataTable {
    int columns = 0;
    std::vector<std::array<double, kTableColumns + 1>> rows;  // rows[r - 1][c]

    int records() const { return static_cast<int>(rows.size()); }
    double at(int record, int column) const { return rows.at(static_cast<std::size_t>(record - 1)).at(column); }
};

enum class DataStatus { Ok, Overflow, NoFields, Failed };

struct DataRead {
    DataStatus status = DataStatus::Failed;
    DataTable table;
};

// NoFields for a first line without any field, Failed for a file without a
// first line and for a field that is not a number, Overflow when more than
// kMaxRecords records follow.  A last record that the file ends in the
// middle of is not counted: its missing numbers would draw as zeros.
DataRead readPlotData(std::string_view bytes);

struct Range {
    double min = 0.0;
    double max = 0.0;
};

struct PlotScript {
    std::string upperTitle;  // empty for a one-line title
    std::string mainTitle;
    std::string xLabel;
    std::string yLabel;
    std::optional<std::string> plotLine;
    std::optional<Range> xRange;
    std::optional<Range> yRange;
};

struct ScriptRead {
    bool ok = false;
    // On failure: what the lines before the failing one gave.
    PlotScript script;
};

// Fails for fewer than nine lines, a title or label line too short for its
// columns, and a range line without a colon or with a number that cannot be
// read (numbers with a point, blanks around them allowed).
ScriptRead readPlotScript(std::string_view bytes);

}  // namespace vormgui::plot
