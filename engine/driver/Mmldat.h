// Data input and clean-up (MMLDAT) and the read-back of its scratch files
// (READIT): the layouts the two share, and the bound on the data file.
//
// MMLDAT writes the retained data to three scratch units and leaves them
// rewound; READIT reads them back into the store and closes them.  No other
// program reads these files, so the respondent layout is wider than the
// responses need: a 20-character identifier holds any 64-bit identifier and a
// 12-character response any 32-bit code, so no identifier or missing code is
// cut on its way into the store.
#pragma once

namespace vorm {

// Records a data file may hold, 50 times the 2000 of the raw table.  Those
// past the table are held for the clean-up; a file with more is no data set
// (a device, a file that never ends).
inline constexpr int kMaxDataRecords = 100000;

// "FT13F001": identifier, then the retained responses of one respondent.
inline constexpr const char* kScratchRespondentLayout = "(1X,I20,1X,100I12)";
// "FT14F001": retained respondents and items.
inline constexpr const char* kScratchCountsLayout = "(1X,I4,1X,I3)";
// "FT08F001": the data-file number of one retained item.
inline constexpr const char* kScratchItemLayout = "(1X,I3)";

}  // namespace vorm
