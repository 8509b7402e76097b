// Expected item score of item i on the theta grid.
#include "model/Evaluate.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTDATA3(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR) {
    const int K = fm.item(i).K;
    const std::string base = "PLOT3" + item_key(fm.st.ITEMID(i));
    PlotData data(io, WRKDIR, base);
    if (!model_traits(fm.MODEL).valid)
        plot_stop(io, format_free({"Error while calculating item", " expected value"}),
                  format_free({"Error while calculating item", " expected value."}));
    ModelValues mv;
    for (double theta : theta_grid()) {
        evaluate_point(mv, fm.MODEL, PROBABILITIES, fm.item(i), theta);
        data.line("(F8.3,1X,F8.3)", {theta, expected_score(mv, K)});
    }
    data.close();

    PlotScript s;
    s.title = item_title("Item Characteristic Curve\\nItem#:", fm, i);
    s.ylabel = "E(Zi)";
    s.yrange = plot_range("0", field("(I1)", K - 1));
    s.clauses = {{"1:2", "Item #" + item_key(fm.st.ITEMID(i)), "lines"}};
    write_plot_script(io, WRKDIR, base, s);
}

}  // namespace vorm
