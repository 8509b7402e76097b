// Test information: the item information files read back and summed line by
// line, so the sum is that of the values as written.  A value written as
// asterisks, too wide for its field, leaves the sum of its line unknown: not
// a number, written as asterisks in turn and left out of the range.
#include <charconv>
#include <limits>

#include "common/paths.h"
#include "common/textio.h"
#include "common/workfolder.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

namespace {

// Two blank-separated numbers at the start of the line; a second field of
// asterisks gives y as not a number.
bool two_numbers(const std::string& line, double& x, double& y) {
    const char* p = line.data();
    const char* end = p + line.size();
    double* out[2] = {&x, &y};
    for (double* v : out) {
        while (p < end && *p == ' ') ++p;
        if (v == &y && p < end && *p == '*') {
            y = std::numeric_limits<double>::quiet_NaN();
            return true;
        }
        const auto r = std::from_chars(p, end, *v);
        if (r.ec != std::errc()) return false;
        p = r.ptr;
    }
    return true;
}

}  // namespace

void PLOTDATA6(Io& io, const FittedModel& fm, const std::string& WRKDIR) {
    double grid[NGRID], sum[NGRID];
    for (int g = 0; g < NGRID; ++g) {
        grid[g] = theta_grid()[g];
        sum[g] = 0.0;
    }
    for (int k = 1; k <= fm.NITEM; ++k) {
        const std::string base = "PLOT5" + item_key(fm.st.ITEMID(k));
        std::string why;
        FileStream in(open_work_file(trim_right(WRKDIR), base + ".DAT", WorkFolder::Mode::Read, &why),
                      std::ios::in | std::ios::binary);
        LineReader lines(in);
        std::string line;
        for (int n = 0; n < NGRID; ++n) {
            double value = 0.0;
            if (!lines.next(line) || !two_numbers(line, grid[n], value))
                plot_stop(io, "Cannot read back the plot data file " + base + ".DAT.");
            sum[n] += value;
        }
    }

    PlotData data(io, WRKDIR, "PLOT6");
    int m = 0, n = 0;
    for (int g = 0; g < NGRID; ++g) {
        data.line("(F8.3,1X,F8.3)", {grid[g], sum[g]});
        if (sum[g] < m) m = static_cast<int>(sum[g]);
        if (sum[g] > n) n = static_cast<int>(sum[g]);
    }
    data.close();

    PlotScript s;
    s.title = "Test Information Function";
    s.ylabel = "Info";
    s.yrange = plot_range(field("(I12)", 5 * (m / 5) - 5), field("(I12)", 5 * (n / 5) + 5));
    s.clauses = {{"1:2", "", "lines"}};
    write_plot_script(io, WRKDIR, "PLOT6", s);
}

}  // namespace vorm
