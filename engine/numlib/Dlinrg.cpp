#include "numlib/Dlinrg.h"

#include "numlib/Dl2nrg.h"
#include "numlib/Numlib_error.h"
#include "numlib/Workspace.h"

namespace vorm {

void DLINRG(int N, const double* A, int LDA, double* AINV, int LDAINV) {
    E1PSH("DLINRG");
    if (N < 1) {
        MSG_SETI(1, N);
        E1MES(5, 1, "The order of the matrix must be positive while N = %(i1) is given.");
        E1POP("DLINRG");
        return;
    }
    int* ipvt = numlib_workspace_take_int(N);
    double* wk = ipvt != nullptr ? numlib_workspace_take_double(static_cast<long>(N) * (N + 1) / 2) : nullptr;
    if (wk == nullptr) {
        if (ipvt != nullptr) numlib_workspace_free_int(ipvt);
        MSG_SETI(1, N);
        E1MES(5, 2, "The required storage cannot be allocated.  The workspace is based on N, where N = %(i1).");
        E1POP("DLINRG");
        return;
    }
    DL2NRG(N, A, LDA, AINV, LDAINV, wk, ipvt);
    numlib_workspace_free_double(wk);
    numlib_workspace_free_int(ipvt);
    E1POP("DLINRG");
}

}  // namespace vorm
