// Item information of item i on the theta grid (data file only: the script
// waits for the common top of all items, PLOTDATA5B).
#include "plotdata/Plotdata.h"
#include "plotdata/Plotpair.h"

namespace vorm {

int PLOTDATA5(Io& io, const FittedModel& fm, int i, const std::string& WRKDIR) {
    PlotData data(io, WRKDIR, "PLOT5" + item_key(fm.st.ITEMID(i)));
    int INFMAX = 0;
    for (double theta : theta_grid()) {
        const double info = SUBINFO(io, fm, i, theta);
        if (info > INFMAX) INFMAX = static_cast<int>(info);
        data.line("(F8.3,1X,F8.3)", {theta, info});
    }
    data.close();
    return INFMAX;
}

}  // namespace vorm
