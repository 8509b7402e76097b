// The one place where the plot stage reads the model number.
//
// Models 1 to 4 have no discrimination and 5 to 8 one per item; 1, 2, 5 and 6
// carry a unit parameter, the others thresholds; 1, 3, 5 and 7 hold that
// parameter in common for all items, 2, 4, 6 and 8 per item.  A number
// outside 1 to 8 is not a model, and every plot routine that evaluates the
// model stops on it.
#pragma once

namespace vorm {

struct PlotModel {
    bool valid = false;
    bool alpha = false;   // own discrimination ALPHA(i)
    bool unit = false;    // unit parameter (otherwise thresholds)
    bool common = false;  // UNIT or TAUC shared by all items (otherwise LAMBDA(i) or TAU(i, .))
};

inline PlotModel plot_model(int MODEL) {
    if (MODEL < 1 || MODEL > 8) return {};
    const int base = (MODEL - 1) % 4;  // 0: common unit, 1: unit, 2: common thresholds, 3: thresholds
    return {true, MODEL >= 5, base <= 1, base == 0 || base == 2};
}

}  // namespace vorm
