// Estimated latent density at the quadrature points.
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTLAT(Io& io, const QuadReals& DENS, int NQUAD, const std::string& WRKDIR, const QuadReals& XQUAD) {
    PlotData data(io, WRKDIR, "PLOTLAT");
    double p = -1.0;
    for (int q = 1; q <= NQUAD; ++q) {
        data.line("(F8.3,1X,F8.3)", {XQUAD(q), DENS(q)});
        if (DENS(q) > p) p = DENS(q);
    }
    data.close();

    PlotScript s;
    s.title = "Latent Trait Distribution";
    s.ylabel = "Density";
    s.yrange = plot_range("0", field("(F4.2)", plot_top(p)));
    s.clauses = {{"1:2", "", "lines"}};
    write_plot_script(io, WRKDIR, "PLOTLAT", s);
}

}  // namespace vorm
