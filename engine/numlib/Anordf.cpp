#include "numlib/Chidf.h"
#include "numlib/Numlib_error.h"

namespace vorm {

float ANORDF(float X) {
    E1PSH("ANORDF");
    const float result = 0.5f * ERFC(-X * 0.70710677f);
    // Far in the lower tail the complementary error function underflows to
    // zero, which is the right probability: withdraw its alert.
    if (N1RTY(1) == 2) E1MES(0, 0, " ");
    E1POP("ANORDF");
    return result;
}

}  // namespace vorm
