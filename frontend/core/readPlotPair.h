// Reading a plot file pair from disk for a plot window: the data file, then
// the script, each read whole and parsed by PlotFiles.h.  Both plot windows
// read their pairs here and differ only in what they say about a failure.
#pragma once

#include <QString>

#include "PlotFiles.h"

namespace vormgui::plot {

// Refused: a file of the pair is not a regular file or far too large
// (platform/OutputFile.h), and was not read.
enum class PairFailure {
    None,
    Refused,
    DataUnreadable,
    Overflow,
    NoFields,
    DataFailed,
    ScriptUnreadable,
    ScriptFailed
};

struct PairRead {
    PairFailure failure = PairFailure::None;
    DataTable table;
    // Also on ScriptFailed: what the lines before the failing one gave.
    PlotScript script;
    // On Refused: what the user is told, naming the file.
    QString refusal;
};

// The data file is read and parsed first; the script is not read when the
// data fail.
PairRead readPlotPair(const QString& scriptPath, const QString& dataPath);

}  // namespace vormgui::plot
