// Estimated latent density at the quadrature points.
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTLAT(Io& io, const FittedModel& fm, const std::string& WRKDIR) {
    const QuadReals& DENS = fm.st.DENS;
    const QuadReals& XQUAD = fm.st.XQUAD;
    PlotData data(io, WRKDIR, "PLOTLAT");
    double p = -1.0;
    for (int q = 1; q <= fm.NQUAD; ++q) {
        data.line("(F8.3,1X,F8.3)", {XQUAD(q), DENS(q)});
        if (DENS(q) > p) p = DENS(q);
    }
    data.close();

    write_plot_script(io, WRKDIR, "PLOTLAT", share_script("Latent Trait Distribution", "Density", "lines", p));
}

}  // namespace vorm
