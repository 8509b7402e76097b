// Text input and output of the engine: every report, parameter, plot, status
// and scratch file goes through this module.
//
// Fixed-format records are written from layouts in edit-descriptor notation,
// for example "(1X,I4,1X,I3)" or "(' ITEM#',I3,' DELTA=',F12.8)":
//   Iw[.m]  integer, right-justified; w asterisks when it does not fit
//   Fw.d    real, correctly rounded; the leading zero of a value below one is
//           dropped only when that alone makes it fit, otherwise w asterisks;
//           NaN and infinities fill the field with asterisks
//   Ew.d, Dw.d (with an optional kP scale factor, as in 1PE14.6), Aw/A, Lw
//   'text' and "text" ('' stands for one quote), nX, Tc, TLn, TRn, '/', ':'
//   and repeat counts on descriptors and parenthesised groups.
// Output stops at the first data descriptor that has no value left; when the
// values outlast the layout, a new line starts and the layout is taken again
// from its last top-level group (or from the start).
//
// Records written with a layout are read back with the same layout
// (read_fixed), so a stage can keep values in a scratch file exactly as they
// print.
//
// Free-format records are one blank followed by the items in order: texts
// exactly as given, integers bare, reals in the one convention of
// format_free_real().  An empty free-format record is a line holding one blank.
//
// Readers strip a trailing CR from every line, since job and data files may
// come from a system that ends lines with CR LF.  Numbers are read and written
// in the C locale whatever the user's locale is.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorm {

// One value of a fixed-format or free-format record.
class Val {
public:
    enum class Kind { Int, Real, Text };
    Val(int v) : kind_(Kind::Int), i_(v) {}
    Val(long v) : kind_(Kind::Int), i_(v) {}
    Val(long long v) : kind_(Kind::Int), i_(v) {}
    Val(double v) : kind_(Kind::Real), d_(v) {}
    Val(float v) : kind_(Kind::Real), d_(v) {}
    Val(const char* s) : kind_(Kind::Text), s_(s) {}
    Val(std::string s) : kind_(Kind::Text), s_(std::move(s)) {}
    Val(std::string_view s) : kind_(Kind::Text), s_(s) {}

    Kind kind() const { return kind_; }
    long long as_int() const;
    double as_real() const;
    const std::string& text() const { return s_; }

private:
    Kind kind_;
    long long i_ = 0;
    double d_ = 0.0;
    std::string s_;
};

// ---- fixed-format output -------------------------------------------------

// The lines of one record written with `layout` (one line per '/' and per
// reversion), without line ends.  A layout that cannot be parsed is a
// programming error and throws std::invalid_argument.
std::vector<std::string> format_fixed_lines(std::string_view layout, const std::vector<Val>& values);
// The same lines joined with '\n' (no final line end).
std::string format_fixed(std::string_view layout, const std::vector<Val>& values);
// Writes the record's lines, each ended by '\n'.
void write_fixed(std::ostream& os, std::string_view layout, const std::vector<Val>& values = {});
// The text of v in an Iw field, or all of v's digits when they need more
// room: for identifiers, which asterisks would lose.  Written with an A
// descriptor, it widens only the line that holds it.
std::string int_in_full(long long v, int w);

// ---- free-format output --------------------------------------------------

std::string format_free_real(double x);
std::string format_free(const std::vector<Val>& items);
void write_free(std::ostream& os, const std::vector<Val>& items = {});
// A line with nothing at all on it (a blank line produced by a layout).
void write_empty_line(std::ostream& os);

// ---- line input ----------------------------------------------------------

class LineReader {
public:
    // No text file of the engine has lines anywhere near this long.
    static constexpr std::size_t kMaxLineLength = 1 << 20;

    explicit LineReader(std::istream& in) : in_(in) {}
    // Next line without its line end (LF, or CR LF); false at end of input,
    // and also at a line longer than kMaxLineLength, which too_long() tells.
    bool next(std::string& line);
    bool too_long() const { return too_long_; }
    int lines_read() const { return lines_; }

private:
    std::istream& in_;
    int lines_ = 0;
    bool too_long_ = false;
};

enum class ReadStatus { Ok, End, Error };

// Free-format (list-directed) reading of one value from the start of a line:
// leading blanks are skipped and the value ends at a blank, a comma, a slash
// or the end of the line; the rest of the line is ignored.  NoValue: the line
// holds only blanks.
enum class FreeValue { Ok, NoValue, Error };
FreeValue parse_free_int(std::string_view line, long long& value);
FreeValue parse_free_real(std::string_view line, double& value);

// Job-file records.  A number record passes over blank lines and takes its
// value from the first line that holds one; a letter record is the first
// character of the next line (a blank for an empty line); a text record is the
// whole next line.
ReadStatus read_int_record(LineReader& in, long long& value);
ReadStatus read_real_record(LineReader& in, double& value);
ReadStatus read_letter_record(LineReader& in, char& letter);
ReadStatus read_text_record(LineReader& in, std::string& text);

// ---- fixed-format input --------------------------------------------------

// One field of a record read back with a layout.  An I field gives `integer`,
// an F, E or D field `real`, an A field `text`, an L field `integer` 1 or 0;
// `ok` is false when the field does not hold a value of its kind, such as the
// asterisks written for a value that did not fit.
struct FixedField {
    bool ok = false;
    long long integer = 0;
    double real = 0.0;
    std::string text;
};

// Reads one record of `count` fields written with `layout`, in the writer's
// notation (texts in the layout are passed over by their length).  Blanks in a
// numeric field are ignored and an all-blank field reads as 0; a real without
// a decimal point has its last d digits after the point (scaled by a kP factor
// in force); columns past the end of a line read as blanks; '/' and reversion
// take the next line.  End: the input ended before the record was complete;
// Error: a line too long to hold, or a layout with no field to read into.  A
// layout that cannot be parsed throws as above.
ReadStatus read_fixed(LineReader& in, std::string_view layout, int count, std::vector<FixedField>& fields);

// ---- data-file record format ---------------------------------------------

// Where a field of a record stands: the reader's line number (from 1) and the
// field's first column (from 1); column 0 when a line as a whole is at fault.
struct FieldPlace {
    int line = 0;
    long long column = 0;
};

// A data record format given at run time, such as "(i4,1x,25i1)": parenthesised
// lists of [r]Iw, nX, Tc, TLn, TRn and '/', with repeat counts on groups,
// letters in either case.  A blank field reads as 0 and blanks inside a field
// are ignored; a short line reads as if padded with blanks; when the format
// runs out before the values do, reading goes on with the next line from the
// format's last top-level group (or its start).  Text after the closing ')'
// is ignored.  A format nested too deeply, too long once its repeat counts are
// expanded, or reaching a column beyond any real record is refused.
class RecordFormat {
public:
    // Empty pointer when the text is not a format this reader can use; *why
    // then says what is wrong.
    static std::unique_ptr<RecordFormat> parse(std::string_view text, std::string* why = nullptr);
    ~RecordFormat();

    // Reads one record of `count` integers into values (resized).  End: the
    // input ended before the record was complete.  Error: a field that is not
    // an integer, a format that yields no value for the record, or a line too
    // long to hold.  `places`, when given, receives the place of every field
    // read, in order; after an Error its last entry is where reading failed:
    // the field that is not an integer, or the line (column 0) that is too
    // long or from which the format reads nothing.
    ReadStatus read(LineReader& in, int count, std::vector<std::int64_t>& values,
                    std::vector<FieldPlace>* places = nullptr) const;

    struct Node;

private:
    RecordFormat() = default;
    std::vector<Node> nodes_;
    std::size_t reversion_ = 0;
};

}  // namespace vorm
