// Data input and clean-up (MMLDAT) and the read-back of its scratch files
// (READIT): the layouts the two share.
//
// MMLDAT writes the retained data to three scratch units and leaves them
// rewound; READIT reads them back into the store and closes them.  No other
// program reads these files, so the respondent layout is wider than the
// responses need: a 20-character identifier holds any 64-bit identifier and a
// 12-character response any 32-bit code, so no identifier or missing code is
// cut on its way into the store.
#pragma once

#include "common/Store.h"

namespace vorm {

// The records as data input holds them while it cleans them (a work area of
// the run's workspace).
struct RawTable {
    SubjIds id;                              // identifier of each held record
    Arr2<int, 1, MAXSUBJ, 1, MAXITEM> resp;  // resp(k, j): record k, current item position j
    ItemInts itemno;                         // data-file number of the item at position j
};

// "FT13F001": identifier, then the retained responses of one respondent.
inline constexpr const char* kScratchRespondentLayout = "(1X,I20,1X,100I12)";
// "FT14F001": retained respondents and items.
inline constexpr const char* kScratchCountsLayout = "(1X,I4,1X,I3)";
// "FT08F001": the data-file number of one retained item.
inline constexpr const char* kScratchItemLayout = "(1X,I3)";

}  // namespace vorm
