// The engine's ranges that the front end holds a job to.  The engine reads a
// value outside its range again from the next line of the job, which shifts
// every later answer by one line, and its tables have fixed sizes; so the
// pages' spin boxes and checks, Run's checks and the job file reader all take
// the ranges from here, and the one rule for what a count is.
#pragma once

#include <QString>
#include <cstdint>
#include <limits>
#include <optional>

namespace vormgui {

struct Range {
    int low;
    int high;

    constexpr bool contains(long long value) const { return value >= low && value <= high; }
};

// The engine's item and respondent tables.
constexpr int kMaxItems = 100;
constexpr int kMaxSubjects = 2000;
// The pages and the job record hold counts as 16-bit numbers.
constexpr int kMaxCount = 32767;
// A page's box holds at most this many characters (a longer text is cut).
constexpr int kMaxBoxText = 32767;

namespace limits {

// A job reaches the engine with at most kMaxItems items; the pages take up to
// kMaxCount while no setting is given per item.
constexpr Range kItems{1, kMaxItems};
constexpr Range kItemsOnPages{1, kMaxCount};
constexpr Range kCategories{2, 10};
constexpr Range kQuadraturePoints{1, 50};
constexpr Range kItemsToDiscard{1, kMaxItems};
constexpr Range kSubjectsToDiscard{1, kMaxSubjects};
constexpr Range kOuterCycles{5, kMaxCount};
// Inner cycles and both kinds of Fisher scoring iterations.
constexpr Range kIterations{1, kMaxCount};
constexpr Range kPlotGroups{2, 20};
constexpr Range kThetaDeltaGroups{2, kMaxSubjects};
constexpr Range kFitGroups{1, 20};
// The convergence criterion and the chi-square probability cut-offs are at
// most these.
constexpr double kMaxCriterion = 0.01;
constexpr double kMaxChiSquareCutoff = 0.2;

// Respondent identifiers are no counts: the engine's data reader and its job
// dialogue take every whole number of 64 bits (parseWhole), and so do the
// pages and the job file reader.
constexpr std::int64_t kMinSubjectId = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMaxSubjectId = std::numeric_limits<std::int64_t>::max();

}  // namespace limits

// A whole number as the engine reads one: blanks around it dropped, then an
// optional sign and decimal digits and nothing else ("2.0", "15.4" and "1e1"
// are none), of any value that 64 bits hold; nothing otherwise.
std::optional<std::int64_t> parseWhole(const QString& text);

// A count as every count box and grid cell, Run and the job file reader
// take it: a whole number (parseWhole); nothing when the text is not one or
// the number lies outside `range` (by default the 16-bit numbers the job
// record holds).  An accepted count (or identifier) is kept and written as
// QString::number gives it: "15" for " 15", "+15" or "015".
std::optional<int> parseCount(const QString& text, Range range = Range{-32768, kMaxCount});

// Models 1, 3, 5 and 7 have common parameters, shared by every item: variable
// categories and a constraint do not apply to them.
constexpr bool commonModel(int model) { return model >= 1 && model <= 8 && model % 2 == 1; }

}  // namespace vormgui
