#include "numlib/Dcorvc.h"

#include "numlib/Dc2rvc.h"
#include "numlib/Numlib_error.h"
#include "numlib/Workspace.h"

namespace vorm {

namespace {
// The workspace of an IDO 1, 2, ..., 3 sequence lives from its first call to
// its last; these say what it was sized for.
double* g_held = nullptr;
int g_held_nvar = 0;
int g_held_mopt = -1;
bool g_held_weighted = false;

void drop_held() {
    numlib_workspace_free_double(g_held);
    g_held = nullptr;
}
}  // namespace

void DCORVC(int IDO, int NROW, int NVAR, const double* X, int LDX, int IFRQ, int IWT, int MOPT, int ICOPT,
            double* XMEAN, double* COV, int LDCOV, int* INCD, int LDINCD, int& NOBS, int& NMISS, double& SUMWT) {
    double* wk = nullptr;
    try {
        E1PSH("DCORVC");
        if (NVAR < 1) {
            MSG_SETI(1, NVAR);
            E1MES(5, 1, "NVAR = %(I1).  The number of variables must be positive.");
            E1POP("DCORVC");
            return;
        }
        const bool weighted = IWT > 0;
        const long size = dC2RVC_workspace_size(NVAR, MOPT, weighted);
        // With IDO or MOPT out of range no workspace is taken: the worker's
        // argument checks report them.
        if ((IDO == 0 || IDO == 1) && size > 0) {
            drop_held();  // an unfinished earlier sequence is abandoned
            wk = numlib_workspace_take_double(size);
            if (wk == nullptr) {
                MSG_SETI(1, NVAR);
                E1MES(5, 2,
                      "The required storage cannot be allocated.  The workspace allocation is based on NVAR = "
                      "%(I1).");
                E1POP("DCORVC");
                return;
            }
            if (IDO == 1) {
                g_held = wk;
                g_held_nvar = NVAR;
                g_held_mopt = MOPT;
                g_held_weighted = weighted;
            }
        } else if ((IDO == 2 || IDO == 3) && size > 0) {
            // A continuation must find the sums its sequence started.
            if (g_held == nullptr || g_held_nvar != NVAR || g_held_mopt != MOPT || g_held_weighted != weighted) {
                MSG_SETI(1, IDO);
                E1MES(5, 3,
                      "IDO = %(I1).  A call with IDO = 2 or 3 must follow a call with IDO = 1 with the same NVAR, "
                      "MOPT and IWT.");
                E1POP("DCORVC");
                return;
            }
            wk = g_held;
        }
        dC2RVC(IDO, NROW, NVAR, X, LDX, IFRQ, IWT, MOPT, ICOPT, XMEAN, COV, LDCOV, INCD, LDINCD, NOBS, NMISS, SUMWT,
               wk);
        if (IDO == 0) numlib_workspace_free_double(wk);
        if (IDO == 3) drop_held();
        if (IDO == 0 || IDO == 3) wk = nullptr;
        E1POP("DCORVC");
    } catch (...) {
        // The library ended the program: nothing it held may outlive the call.
        if (wk != g_held) numlib_workspace_free_double(wk);
        drop_held();
        throw;
    }
}

}  // namespace vorm
