// Key-tag sort: KEY(1..N) ascending in place, TAG(1..N) carried along so that
// each tag stays with its key.  Shell sort with the gaps 1, 4, 13, 40, ...;
// not stable, and the order of equal keys is the one this gap sequence gives,
// which later groupings depend on.  Arrays are addressed from their first
// element; NDIM is the caller's declared length and is not used.
#pragma once

#include <cstdint>

namespace vorm {

void SORTIT(int NDIM, int* TAG, double* KEY, int N);

}  // namespace vorm
