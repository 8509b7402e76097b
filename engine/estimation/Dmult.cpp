#include "estimation/Dmult.h"

#include <ostream>

#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"

namespace vorm {

void DMULT(std::ostream& con, const double* A, int NRA, int LDA, int NCA, int, const double* B, int NRB, int LDB,
           int NCB, int, double* C) {
    if (NCA != NRB) {
        write_free(con, {"THE MATRICES ARE NOT CONFORMABLE FOR   MULTIPLICATION IN SUBROUTIN DMULT"});
        // The run must not end with " start" still in the status file.
        throw EngineStop({status_text(" THE MATRICES ARE NOT CONFORMABLE FOR MULTIPLICATION IN DMULT")});
    }
    if (NRA < 1 || NCB < 1) return;
    for (int j = 1; j <= NCB; ++j)
        for (int i = 1; i <= NRA; ++i) {
            double s = 0.0;
            for (int k = 1; k <= NCA; ++k) s += A[(i - 1) + (k - 1) * LDA] * B[(k - 1) + (j - 1) * LDB];
            C[(i - 1) + (j - 1) * LDA] = s;
        }
}

}  // namespace vorm
