#include "readPlotPair.h"

#include <QFile>
#include <optional>
#include <string>

namespace vormgui::plot {

namespace {

std::optional<std::string> readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace

PairRead readPlotPair(const QString& scriptPath, const QString& dataPath) {
    PairRead pair;
    const std::optional<std::string> dataBytes = readWhole(dataPath);
    if (!dataBytes) {
        pair.failure = PairFailure::DataUnreadable;
        return pair;
    }
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

    const std::optional<std::string> scriptBytes = readWhole(scriptPath);
    if (!scriptBytes) {
        pair.failure = PairFailure::ScriptUnreadable;
        return pair;
    }
    ScriptRead script = readPlotScript(*scriptBytes);
    pair.script = std::move(script.script);
    if (!script.ok) pair.failure = PairFailure::ScriptFailed;
    return pair;
}

}  // namespace vormgui::plot
