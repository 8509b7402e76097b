// The plot file pair: a data file of fixed-width numbers and a nine-line plot
// script with the same base name in the work folder, both ending every line
// with CR LF.  Every plot routine writes its files through this module, so
// names, number fields and script lines are made in one place.
//
// A number too wide for its field (or not a number) fills the field with
// asterisks, the line keeping its length, and the run goes on: a data file or
// a script whose axis limits hold such a field is named in the report and
// the run's status warnings, one line per file, when it is closed.  Numbers
// inside a title are only labels and are not reported.  A file that cannot be
// written, or an entry of its name that is no plain file, stops the run with a
// status line naming it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/Store.h"
#include "common/filestream.h"
#include "common/io.h"
#include "common/textio.h"
#include "model/Fittedmodel.h"

namespace vorm {

// Theta grid of the curve files: -4.0, then each point the previous one plus
// the single-precision value of 0.1 added in double, so the last point is a
// little above 4.0.  Index 0..NGRID-1.
constexpr int NGRID = 81;
const std::array<double, NGRID>& theta_grid();

// Three-character item label of an item number 1..100: tens digit, units
// digit and a blank ("05 "), or "100".
std::string ITEMLBL(int itemid);
// The label without its trailing blank, as file names and plot keys use it.
std::string item_key(int itemid);

// One number written with a one-field layout, e.g. field("(I1)", 3).
std::string field(std::string_view layout, const Val& v);

// An axis range "[lo:hi]" from the texts of its limits.
std::string plot_range(const std::string& lo, const std::string& hi);

// Top of the vertical range of a plot of shares or densities whose largest
// value is p: 0.05 n with n the integer part of 20 p + 1, formed as 5 n times
// 0.01 (a largest value of 0.25 or 0.26 gives 0.30).
double plot_top(double p);

// Title of a per-item plot: the lead, the item label, then delta, alpha and
// the item's K thresholds as F6.3, joined by a comma, ending in a full stop.
// The thresholds are the view's: the common ones where the model shares them,
// and in a model with a unit those that the estimated unit stands for (the
// store's threshold rows still hold the start values there).
std::string item_title(const char* lead, const FittedModel& fm, int i);

// Console line and status line of a plot routine that stops the run; each is a
// list-directed record (leading blank included).
[[noreturn]] void plot_stop(Io& io, const std::string& console_line, const std::string& status_line);
// The same text on the console and in the status, as one list-directed record.
[[noreturn]] void plot_stop(Io& io, const std::string& text);

// A data file being written: created (or emptied) at construction.
class PlotData {
public:
    PlotData(Io& io, const std::string& WRKDIR, const std::string& base);
    // One line from a fixed layout of number fields.
    void line(std::string_view layout, const std::vector<Val>& values);
    void close();

private:
    Io& io_;
    std::string wrkdir_;
    std::string name_;  // file name without folder, for messages
    FileStream out_;
    bool asterisks_ = false;  // a field too narrow for its value
};

// One plot clause: the columns, the key (empty: notitle) and the style.
struct PlotClause {
    std::string columns;
    std::string key;
    std::string style;
};

struct PlotScript {
    std::string title;
    std::string xlabel = "Theta";
    std::string ylabel;
    std::string xrange = "[-4:4]";
    std::string yrange;
    std::vector<PlotClause> clauses;
    // What the script calls its output and data files; the base name when empty.
    std::string name;
};

// The script of a plot of shares or densities whose largest value is p:
// x label "Theta", y from 0 to plot_top(p) as F4.2, one clause without a key.
PlotScript share_script(const char* title, const char* ylabel, const char* style, double p);

// Writes base.SCR: title, axis labels, ranges, terminal, output, data style
// and the plot line, in this order.
void write_plot_script(Io& io, const std::string& WRKDIR, const std::string& base, const PlotScript& s);

}  // namespace vorm
