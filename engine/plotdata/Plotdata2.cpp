// Category probability curves of item i on the theta grid.
#include "model/Evaluate.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTDATA2(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR) {
    const int K = fm.item(i).K;
    const std::string base = "PLOT2" + item_key(fm.st.ITEMID(i));
    PlotData data(io, WRKDIR, base);
    if (!model_traits(fm.MODEL).valid)
        plot_stop(io, format_free({"Error model while calculating information function"}),
                  format_free({"Error model while calculating item expected value."}));
    std::vector<Val> row;
    ModelValues mv;
    for (double theta : theta_grid()) {
        evaluate_point(mv, fm.MODEL, PROBABILITIES, fm.item(i), theta);
        row.assign({theta});
        for (int c = 0; c < K; ++c) row.emplace_back(mv.PROB(c));
        data.line("(F8.3,1X,10F8.3)", row);
    }
    data.close();

    PlotScript s;
    s.title = item_title("Category Probability Functions\\nItem#:", fm, i);
    s.ylabel = "Prob.";
    s.yrange = "[0:1]";
    s.clauses = {{"1:2", "Categories #1", "lines"}};
    write_plot_script(io, WRKDIR, base, s);
}

}  // namespace vorm
