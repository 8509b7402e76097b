#include "StatusPoll.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <string_view>

#include "platform/OutputFile.h"

namespace vormgui {

const QString StatusPoll::kEndedWithoutResult = QStringLiteral("The engine ended without a result.");
const QString StatusPoll::kStoppedByUserLine = QStringLiteral(" THE RUN WAS STOPPED BY THE USER.");
const QString StatusPoll::kEndedWithoutResultLine = QStringLiteral(" THE ENGINE ENDED WITHOUT A RESULT.");

bool StatusPoll::tick(const std::function<StatusRead()>& readStatus, const std::function<bool()>& engineEnded) {
    if (outcome_ != Outcome::Running) return false;
    if (idleTicks_ < 2) {
        ++idleTicks_;
        return false;
    }
    const bool ended = engineEnded();
    const StatusRead read = readStatus();
    // Such a file tells nothing now and never will: waiting on it would
    // watch a run that can no longer be followed.
    if (read.status == StatusRead::Status::Refused) {
        outcome_ = Outcome::Error;
        errorLines_ = QStringList{read.refusal};
        return true;
    }
    const std::optional<QStringList> lines =
        read.status == StatusRead::Status::Read ? std::optional<QStringList>(read.lines) : std::nullopt;
    const QString first = lines && !lines->isEmpty() ? lines->front() : QString();
    if (first == QLatin1String(" end")) {
        outcome_ = Outcome::Success;
        for (const QString& line : lines->mid(1)) {
            if (line.trimmed().isEmpty()) continue;
            if (warningLines_.size() < kMaxErrorLines)
                warningLines_ << line;
            else
                ++leftOut_;
        }
        leftOut_ += read.moreLines;
        leftOutAtLeast_ = read.moreAtLeast;
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
        for (const QString& line : lines->mid(kMaxErrorLines))
            if (!line.trimmed().isEmpty()) ++leftOut_;
        leftOut_ += read.moreLines;
        leftOutAtLeast_ = read.moreAtLeast;
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

namespace {

QString statusRefusal(const QString& path, const QString& why) {
    return QStringLiteral("The status file %1 could not be read: %2.").arg(path, why);
}

}  // namespace

StatusRead readStatusFile(const QString& path, int maxLines) {
    StatusRead read;
    // Every line that is read fits, with its line end (a longer line is
    // refused below), and the lines after them are counted up to the bound.
    const qint64 bound = std::max(qint64(maxLines) * (kMaxStatusLineBytes + 2), kMaxStatusBytesCounted);
    const OutputFileRead file = readOutputFileStart(path, bound);
    if (file.status == OutputFileRead::Status::Unreadable && file.openError != 0) {
        read.status = file.openError == ENOENT ? StatusRead::Status::Missing : StatusRead::Status::Unreadable;
        return read;
    }
    if (file.status != OutputFileRead::Status::Ok) {
        read.status = StatusRead::Status::Refused;
        read.refusal = statusRefusal(path, file.status == OutputFileRead::Status::NotAFile
                                               ? QStringLiteral("it is not a regular file")
                                               : file.reason);
        return read;
    }
    const QByteArray& bytes = file.bytes;
    read.status = StatusRead::Status::Read;
    qsizetype from = 0;
    while (read.lines.size() < maxLines && from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0) end = bytes.size();
        if (end > from && bytes.at(end - 1) == '\r') --end;
        if (end - from > kMaxStatusLineBytes) {
            read.status = StatusRead::Status::Refused;
            read.lines.clear();
            read.refusal =
                statusRefusal(path, QStringLiteral("a line of it is longer than %1 bytes").arg(kMaxStatusLineBytes));
            return read;
        }
        read.lines << QString::fromUtf8(bytes.constData() + from, end - from);
        from = next;
    }
    // A line counts when it holds more than blanks, as a warning does; a last
    // line cut by the bound counts as one.
    bool blank = true;
    for (qsizetype k = from; k < bytes.size(); ++k) {
        const char c = bytes.at(k);
        if (c == '\n') {
            if (!blank) ++read.moreLines;
            blank = true;
        } else if (std::string_view(" \t\r\v\f").find(c) == std::string_view::npos) {
            blank = false;
        }
    }
    if (!blank) ++read.moreLines;
    read.moreAtLeast = bytes.size() >= bound;
    return read;
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
    const StatusRead read = readStatusFile(statusFile, StatusPoll::kMaxErrorLines);
    if (read.status == StatusRead::Status::Missing) return std::nullopt;
    const QStringList& lines = read.lines;
    if (!lines.isEmpty() && lines.front() == QLatin1String(" end")) return std::nullopt;
    const QString said = read.status == StatusRead::Status::Refused ? read.refusal
                         : !lines.isEmpty()                         ? lines.join(QLatin1Char('\n'))
                                                                    : QStringLiteral("(nothing)");
    return QStringLiteral(
               "The last run did not complete, so its output files may be incomplete.\n\n"
               "Its status file says:\n%1")
        .arg(said);
}

}  // namespace vormgui
