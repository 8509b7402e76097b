#include <cmath>

#include "numlib/Dc2rvc.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {
// Frequencies are counts; a fractional one counts as its nearest whole number,
// and one beyond the integer range is held at that range's end.
double whole(double f) {
    const double r = std::nearbyint(f);
    return r > 2147483647.0 ? 2147483647.0 : r;
}
}  // namespace

void DC1WFR(int IDO, int NROW, const double* X, int LDX, int IROW, int IFRQ, int IWT, int INVOC, double& FRQ,
            double& WT) {
    E1PSH("DC1WFR");
    const double* row = X + (IROW - 1);
    FRQ = 1.0;
    WT = 1.0;
    if (IFRQ > 0) FRQ = row[static_cast<long>(IFRQ - 1) * LDX];
    if (IWT > 0) WT = row[static_cast<long>(IWT - 1) * LDX];
    if (std::isnan(FRQ) || std::isnan(WT)) {
        FRQ = std::nan("");
    } else if (FRQ < 0.0) {
        MSG_SETI(1, IROW);
        MSG_SETD(1, FRQ);
        if (IDO == 0) {
            E1MES(4, 2, "The frequency for row %(I1) of X is %(D1).  Frequencies must be nonnegative.");
        } else {
            MSG_SETI(2, INVOC);
            E1MES(4, 2,
                  "The frequency for row %(I1) of X on invocation number %(I2) of this routine is %(D1).  "
                  "Frequencies must be nonnegative.");
        }
        FRQ = 0.0;
    } else if (WT < 0.0) {
        MSG_SETI(1, IROW);
        MSG_SETD(1, WT);
        if (IDO == 0) {
            E1MES(4, 1, "The weight for row %(I1) of X was %(D1).  Weights must be nonnegative.");
        } else {
            MSG_SETI(2, INVOC);
            E1MES(4, 1,
                  "The weight for row %(I1) of X on invocation number %(I2) of this routine was %(D1).  "
                  "Weights must be nonnegative.");
        }
        FRQ = 0.0;
    } else {
        FRQ = whole(FRQ);
        if (NROW < 0) FRQ = -FRQ;
    }
    E1POP("DC1WFR");
}

}  // namespace vorm
