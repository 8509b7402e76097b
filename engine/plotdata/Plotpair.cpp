#include "plotdata/Plotpair.h"

#include "common/paths.h"
#include "common/stop.h"
#include "common/workfolder.h"

namespace vorm {

namespace {

constexpr const char* kEnd = "\r\n";

std::array<double, NGRID> make_grid() {
    std::array<double, NGRID> x{};
    // The step is the single-precision 0.1, widened; the sum is kept in double.
    const double step = static_cast<double>(0.1f);
    x[0] = -4.0;
    for (int k = 1; k < NGRID; ++k) x[k] = x[k - 1] + step;
    return x;
}

std::string file_only(const std::string& base, const char* ext) { return base + ext; }

[[noreturn]] void cannot_write(Io& io, const std::string& name) {
    plot_stop(io, "Cannot write the plot file " + name + ".");
}

// A plain file of the work folder, created or emptied (common/workfolder.h).
int create_plot_file(Io& io, const std::string& WRKDIR, const std::string& name) {
    std::string why;
    const int fd = open_work_file(trim_right(WRKDIR), name, WorkFolder::Mode::Write, &why);
    if (fd < 0) plot_stop(io, "Cannot write the plot file " + name + ": " + why + ".");
    return fd;
}

// A field too narrow for its value holds asterisks, as the layouts make it;
// the file stays whole, and the report and the run's warnings say which one
// to read with care.
void holds_asterisks(Io& io, const std::string& WRKDIR, const std::string& name) {
    const std::string line =
        format_free({" THE PLOT FILE " + name + " HOLDS A VALUE TOO WIDE FOR ITS FIELD, WRITTEN AS ASTERISKS."});
    io.report() << line << '\n';
    io.warnings.warn(WRKDIR, line);
}

bool has_stars(const std::string& s) { return s.find('*') != std::string::npos; }

}  // namespace

const std::array<double, NGRID>& theta_grid() {
    static const std::array<double, NGRID> grid = make_grid();
    return grid;
}

std::string ITEMLBL(int itemid) {
    if (itemid >= 100 || itemid < 0) return std::to_string(itemid);
    return std::string{static_cast<char>('0' + itemid / 10), static_cast<char>('0' + itemid % 10), ' '};
}

std::string item_key(int itemid) { return trim_right(ITEMLBL(itemid)); }

std::string field(std::string_view layout, const Val& v) { return format_fixed(layout, {v}); }

std::string plot_range(const std::string& lo, const std::string& hi) {
    std::string r(1, '[');
    r += lo;
    r += ':';
    r += hi;
    r += ']';
    return r;
}

double plot_top(double p) {
    const int n = static_cast<int>(20.0 * p + 1.0);
    return (5 * n) * 0.01;
}

std::string item_title(const char* lead, const FittedModel& fm, int i) {
    const ItemParameters& p = fm.item(i);
    std::string t = lead + ITEMLBL(fm.st.ITEMID(i));
    t += ", delta=" + field("(F6.3)", p.delta);
    t += ", alpha=" + field("(F6.3)", p.alpha);
    t += ", tau=";
    for (int k = 0; k < p.K; ++k) {
        if (k > 0) t += ',';
        t += field("(F6.3)", p.tau[k]);
    }
    return t + ".";
}

void plot_stop(Io& io, const std::string& console_line, const std::string& status_line) {
    io.con << console_line << '\n';
    io.con.flush();
    throw EngineStop({status_line});
}

void plot_stop(Io& io, const std::string& text) {
    const std::string line = format_free({text});
    plot_stop(io, line, line);
}

PlotData::PlotData(Io& io, const std::string& WRKDIR, const std::string& base)
    : io_(io),
      wrkdir_(WRKDIR),
      name_(file_only(base, ".DAT")),
      out_(create_plot_file(io, WRKDIR, name_), std::ios::out | std::ios::binary) {}

void PlotData::line(std::string_view layout, const std::vector<Val>& values) {
    const std::string s = format_fixed(layout, values);
    if (has_stars(s)) asterisks_ = true;
    out_ << s << kEnd;
}

void PlotData::close() {
    if (!out_.close()) cannot_write(io_, name_);
    if (asterisks_) holds_asterisks(io_, wrkdir_, name_);
}

void write_plot_script(Io& io, const std::string& WRKDIR, const std::string& base, const PlotScript& s) {
    const std::string name = file_only(base, ".SCR");
    const std::string files = s.name.empty() ? base : s.name;
    std::string plot = "plot ";
    for (std::size_t k = 0; k < s.clauses.size(); ++k) {
        const PlotClause& c = s.clauses[k];
        if (k > 0) plot += ", ";
        plot += "\"" + files + ".dat\" using " + c.columns + " ";
        plot += c.key.empty() ? std::string("notitle") : "t \"" + c.key + "\"";
        plot += " with " + c.style;
    }
    FileStream out(create_plot_file(io, WRKDIR, name), std::ios::out | std::ios::binary);
    out << "set title \"" << s.title << "\"" << kEnd;
    out << "set xlabel \"" << s.xlabel << "\"" << kEnd;
    out << "set ylabel \"" << s.ylabel << "\"" << kEnd;
    out << "set xrange " << s.xrange << kEnd;
    out << "set yrange " << s.yrange << kEnd;
    out << "set term postscript" << kEnd;
    out << "set output \"" << files << ".ps\"" << kEnd;
    out << "set data style lp" << kEnd;
    out << plot << kEnd;
    if (!out.close()) cannot_write(io, name);
    // Axis limits are drawn; numbers in titles are only labels.
    if (has_stars(s.xrange) || has_stars(s.yrange)) holds_asterisks(io, WRKDIR, name);
}

PlotScript share_script(const char* title, const char* ylabel, const char* style, double p) {
    PlotScript s;
    s.title = title;
    s.ylabel = ylabel;
    s.yrange = plot_range("0", field("(F4.2)", plot_top(p)));
    s.clauses = {{"1:2", "", style}};
    return s;
}

}  // namespace vorm
