#include "common/Sortit.h"

namespace vorm {

void SORTIT(int /*NDIM*/, int* TAG, double* KEY, int N) {
    if (N < 2) return;
    // Positions are 1-based, as in the gap recurrences; element p is at p - 1.
    auto key = [KEY](int p) -> double& { return KEY[p - 1]; };
    auto tag = [TAG](int p) -> int& { return TAG[p - 1]; };
    int h = 1;
    while (3 * h + 1 <= N) h = 3 * h + 1;
    for (; h >= 1; h /= 3) {
        for (int i = h + 1; i <= N; ++i) {
            double x = key(i);
            int t = tag(i);
            int j = i;
            // Only a strictly greater key moves, so equal keys never pass each other within a pass.
            while (j > h && key(j - h) > x) {
                key(j) = key(j - h);
                tag(j) = tag(j - h);
                j -= h;
            }
            key(j) = x;
            tag(j) = t;
        }
    }
}

}  // namespace vorm
