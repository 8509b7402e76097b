#include "StatusPoll.h"

#include <QFile>
#include <QSaveFile>

namespace vormgui {

const QString StatusPoll::kEndedWithoutResult = QStringLiteral("The engine ended without a result.");
const QString StatusPoll::kStoppedByUserLine = QStringLiteral(" THE RUN WAS STOPPED BY THE USER.");
const QString StatusPoll::kEndedWithoutResultLine = QStringLiteral(" THE ENGINE ENDED WITHOUT A RESULT.");

bool StatusPoll::tick(const std::function<std::optional<QStringList>()>& readStatus,
                      const std::function<bool()>& engineEnded) {
    if (outcome_ != Outcome::Running) return false;
    if (idleTicks_ < 2) {
        ++idleTicks_;
        return false;
    }
    const bool ended = engineEnded();
    const std::optional<QStringList> lines = readStatus();
    const QString first = lines && !lines->isEmpty() ? lines->front() : QString();
    if (first == QLatin1String(" end")) {
        outcome_ = Outcome::Success;
        return true;
    }
    // A warning that a running engine wrote is not its last word: reporting
    // it now would also let OK stop an engine on its way to " end".
    if (!ended) {
        endedOnce_ = false;
        return false;
    }
    if (!first.isEmpty() && first != QLatin1String(" start")) {
        outcome_ = Outcome::Error;
        errorLines_ = lines->mid(0, kMaxErrorLines);
        return true;
    }
    if (!endedOnce_) {
        endedOnce_ = true;
        return false;
    }
    outcome_ = Outcome::Error;
    errorLines_ = QStringList{kEndedWithoutResult};
    endedWithoutResult_ = true;
    return true;
}

// A longer line is shown in pieces: a broken status file must not fill memory.
constexpr qint64 kMaxLineBytes = 1 << 16;

std::optional<QStringList> readStatusLines(const QString& path, int maxLines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QStringList lines;
    while (lines.size() < maxLines && !file.atEnd()) {
        QByteArray line = file.readLine(kMaxLineBytes);
        if (line.endsWith('\n')) line.chop(1);
        if (line.endsWith('\r')) line.chop(1);
        lines << QString::fromUtf8(line);
    }
    return lines;
}

bool writeStatusLine(const QString& path, const QString& line, QString* error) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    const QByteArray bytes = line.toUtf8() + '\n';
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    if (error) *error = file.errorString();
    return false;
}

std::optional<QString> incompleteRunWarning(const QString& statusFile) {
    if (!QFile::exists(statusFile)) return std::nullopt;
    const std::optional<QStringList> lines = readStatusLines(statusFile);
    if (lines && !lines->isEmpty() && lines->front() == QLatin1String(" end")) return std::nullopt;
    const QString said = lines && !lines->isEmpty() ? lines->join(QLatin1Char('\n')) : QStringLiteral("(nothing)");
    return QStringLiteral(
               "The last run did not complete, so its output files may be incomplete.\n\n"
               "Its status file says:\n%1")
        .arg(said);
}

}  // namespace vormgui
