// Script of item i's information plot, with the top of the vertical range
// common to all items.
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTDATA5B(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR, int top) {
    const Store& st = fm.st;
    PlotScript s;
    s.title = item_title("Item Information Function\\nItem#:", fm, i);
    s.ylabel = "Info";
    s.yrange = plot_range(field("(I12)", 0), field("(I12)", top));
    s.clauses = {{"1:2", "Item #" + item_key(st.ITEMID(i)), "lines"}};
    write_plot_script(io, WRKDIR, "PLOT5" + item_key(st.ITEMID(i)), s);
}

}  // namespace vorm
