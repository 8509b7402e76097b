#include "readPlotPair.h"

#include <optional>
#include <string>

#include "platform/OutputFile.h"

namespace vormgui::plot {

namespace {

// The whole file, or nothing with `pair` saying why: `unreadable`, or
// Refused for a file that is no output of a run and is not read at all.
std::optional<std::string> readPart(PairRead& pair, const QString& path, PairFailure unreadable) {
    const OutputFileRead file = readOutputFile(path);
    if (file.status == OutputFileRead::Status::Ok) return file.bytes.toStdString();
    if (file.status == OutputFileRead::Status::Unreadable) {
        pair.failure = unreadable;
    } else {
        pair.failure = PairFailure::Refused;
        pair.refusal = refusedFileText(file, path);
    }
    return std::nullopt;
}

}  // namespace

PairRead readPlotPair(const QString& scriptPath, const QString& dataPath) {
    PairRead pair;
    const std::optional<std::string> dataBytes = readPart(pair, dataPath, PairFailure::DataUnreadable);
    if (!dataBytes) return pair;
    DataRead data = readPlotData(*dataBytes);
    switch (data.status) {
        case DataStatus::Ok:
            break;
        case DataStatus::Overflow:
            pair.failure = PairFailure::Overflow;
            return pair;
        case DataStatus::NoFields:
            pair.failure = PairFailure::NoFields;
            return pair;
        case DataStatus::Failed:
            pair.failure = PairFailure::DataFailed;
            return pair;
    }
    pair.table = std::move(data.table);

    const std::optional<std::string> scriptBytes = readPart(pair, scriptPath, PairFailure::ScriptUnreadable);
    if (!scriptBytes) return pair;
    ScriptRead script = readPlotScript(*scriptBytes);
    pair.script = std::move(script.script);
    if (!script.ok) pair.failure = PairFailure::ScriptFailed;
    return pair;
}

}  // namespace vormgui::plot
