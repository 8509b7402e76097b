// Reading a plot file pair from disk for a plot window: the data file, then
// the script, each read whole and parsed by PlotFiles.h.  Both plot windows
// read their pairs here and differ only in what they say about a failure.
#pragma once

#include <QString>

#include "PlotFiles.h"

namespace vormgui::plot {

enum class PairFailure { None, DataUnreadable, Overflow, NoFields, DataFailed, ScriptUnreadable, ScriptFailed };

struct PairRead {
    PairFailure failure = PairFailure::None;
    DataTable table;
    // Also on ScriptFailed: what the lines before the failing one gave.
    PlotScript script;
};

// The data file is read and parsed first; the script is not read when the
// data fail.
PairRead readPlotPair(const QString& scriptPath, const QString& dataPath);

}  // namespace vormgui::plot
