#include <string>

#include "numlib/Dl2nrg.h"
#include "numlib/Numlib_error.h"

namespace vorm {

namespace {
bool leading_dimension_ok(int N, int LD, const char* name, int code) {
    if (LD >= N) return true;
    MSG_SETI(1, N);
    MSG_SETI(2, LD);
    const std::string text =
        std::string(
            "The order of the matrix must be less than or equal to its leading dimension while N = %(I1) and ") +
        name + " = %(I2) are given.";
    E1MES(5, code, text);
    return false;
}
}  // namespace

bool order_checks_pass(int N, int LD1, const char* name1, int LD2, const char* name2) {
    if (N < 1) {
        MSG_SETI(1, N);
        E1MES(5, 1, "The order of the matrix must be positive while N = %(I1) is given.");
        return false;
    }
    return leading_dimension_ok(N, LD1, name1, 2) && leading_dimension_ok(N, LD2, name2, 3);
}

}  // namespace vorm
