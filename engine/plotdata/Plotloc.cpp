// Item locations as dots on one line; locations outside -4 to 4 are written
// but fall outside the fixed horizontal range.
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTLOC(Io& io, const FittedModel& fm, const std::string& WRKDIR) {
    PlotData data(io, WRKDIR, "PLOTLOC");
    for (int i = 1; i <= fm.NITEM; ++i) data.line("(F8.3,1X,F8.3)", {fm.item(i).delta, 1.0});
    data.close();

    PlotScript s;
    s.title = "Item Location (Delta) Estimates";
    s.xlabel = "Delta";
    s.ylabel.assign(1, ' ');  // a single blank
    s.yrange = "[1:1]";
    s.clauses = {{"1:2", "", "dots"}};
    write_plot_script(io, WRKDIR, "PLOTLOC", s);
}

}  // namespace vorm
