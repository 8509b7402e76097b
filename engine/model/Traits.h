// What a model number means.
//
// The eight models combine three choices about an item's parameters, and
// every place that interprets a model number asks this table instead of
// testing numbers:
//   discrimination  the item's exponents are scaled by ALPHA(i) (models 5..8);
//   unit            the category term comes from a unit parameter (models 1,
//                   2, 5, 6), otherwise from thresholds (3, 4, 7, 8);
//   common          that unit or those thresholds are shared by all items,
//                   UNIT or TAUC (odd models), otherwise per item, LAMBDA(i)
//                   or the item's TAU row (even models).
// A number outside 1..8 has every trait false, `valid` included.
#pragma once

namespace vorm {

struct ModelTraits {
    bool valid;
    bool discrimination;
    bool unit;
    bool common;
};

inline constexpr ModelTraits kModelTraits[] = {
    // valid discrimination unit common
    {false, false, false, false},  // not a model
    {true, false, true, true},     // 1: UNIT
    {true, false, true, false},    // 2: LAMBDA(i)
    {true, false, false, true},    // 3: TAUC
    {true, false, false, false},   // 4: TAU(i, k)
    {true, true, true, true},      // 5: ALPHA(i), UNIT
    {true, true, true, false},     // 6: ALPHA(i), LAMBDA(i)
    {true, true, false, true},     // 7: ALPHA(i), TAUC
    {true, true, false, false},    // 8: ALPHA(i), TAU(i, k)
};

constexpr const ModelTraits& model_traits(int model) {
    return model >= 1 && model <= 8 ? kModelTraits[model] : kModelTraits[0];
}

}  // namespace vorm
