// The thresholds that a unit parameter stands for in the models with a unit
// (1, 2, 5 and 6): for an item of K categories, tau_0 = 0 and
// tau_c = -2 (K - c) unit for c = 1..K-1.  The fit report and the plot titles
// print an item's thresholds from this one formula, so the two agree to the
// last digit.
#pragma once

namespace vorm {

inline double unit_threshold(int K, int c, double unit) { return c == 0 ? 0.0 : -2 * (K - c) * unit; }

}  // namespace vorm
