// Test characteristic curve: the sum of the expected item scores over all
// items on the theta grid.
#include "model/Evaluate.h"
#include "model/Traits.h"
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTDATA4(Io& io, const FittedModel& fm, const std::string& WRKDIR) {
    PlotData data(io, WRKDIR, "PLOT4");
    if (!model_traits(fm.MODEL).valid) plot_stop(io, "Error model while calculating item expected value.");
    double largest = 0.0;
    ModelValues mv;
    for (double theta : theta_grid()) {
        double s = 0.0;
        for (int i = 1; i <= fm.NITEM; ++i) {
            evaluate_point(mv, fm.MODEL, PROBABILITIES, fm.item(i), theta);
            s += expected_score(mv, fm.item(i).K);
        }
        data.line("(F8.3,1X,F8.3)", {theta, s});
        if (s > largest) largest = s;
    }
    data.close();

    // The top is the smallest multiple of 5 not below the largest score; the
    // score fitted F8.3, so this ends within a few thousand steps.
    int top = 0;
    while (largest > top) top += 5;
    PlotScript s;
    s.title = "Test Characteristic Curve\\nExpected Test Score";
    s.ylabel = "True\\nScore";
    s.yrange = plot_range("0", field("(I12)", top));
    s.clauses = {{"1:2", "", "lines"}};
    write_plot_script(io, WRKDIR, "PLOT4", s);
}

}  // namespace vorm
