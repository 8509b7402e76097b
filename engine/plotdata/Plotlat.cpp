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

    write_share_script(io, WRKDIR, "PLOTLAT", "Latent Trait Distribution", "Density", "lines", p);
}

}  // namespace vorm
