// Item information of item i on the theta grid (data file only: the script
// waits for the common top of all items, PLOTDATA5B).
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

void PLOTDATA5(Io& io, const Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR, int& INFMAX) {
    PlotData data(io, WRKDIR, "PLOT5" + item_key(st.ITEMID(i)));
    INFMAX = 0;
    for (double theta : theta_grid()) {
        double info = 0.0;
        SUBINFO(io, st, MODEL, K, UNIT, TAUC, i, theta, info);
        if (info > INFMAX) INFMAX = static_cast<int>(info);
        data.line("(F8.3,1X,F8.3)", {theta, info});
    }
    data.close();
}

}  // namespace vorm
