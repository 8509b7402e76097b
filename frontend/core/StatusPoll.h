// Following a run through the engine's status file, whose first line is
// exactly " start" while the engine runs and " end" after a completed run;
// lines after " end" are the warnings that the completed run gave.  Any
// other first line is the engine's message: while the engine still runs it
// may be a warning (a cycle limit, a singular matrix) that a later " end"
// replaces, so only the line that stands when the engine has ended is an
// error, and the file's lines are its message.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vormgui {

// One look at the status file.  Read: its first lines, trailing CR
// stripped, and how many lines after those hold more than blanks
// (`moreAtLeast` when the file goes on past what was counted).  Missing and
// Unreadable (it could not be opened) are no news to the monitor.  Refused:
// it is no status file an engine writes (not a regular file, or a line far
// longer than any the engine writes), and `refusal` is the line that says so.
struct StatusRead {
    enum class Status { Read, Missing, Unreadable, Refused };
    Status status = Status::Missing;
    QStringList lines;
    int moreLines = 0;
    bool moreAtLeast = false;
    QString refusal;
};

// The run monitor's tick, without a window.  The first two ticks are idle,
// so the file is first read on the third; after an outcome every tick does
// nothing.
class StatusPoll {
public:
    enum class Outcome { Running, Success, Error };

    // The error line when the engine is gone and the status never told.
    static const QString kEndedWithoutResult;
    // The first lines that the front end writes into the status file, in the
    // engine's manner, for a run whose engine could not: one that the user
    // stopped, and one whose engine ended without a word.  Either way the
    // file never goes on saying " start" once the run is over.
    static const QString kStoppedByUserLine;
    static const QString kEndedWithoutResultLine;
    // Error lines shown, counting the first; as many warning lines are
    // shown beneath a success.
    static constexpr int kMaxErrorLines = 7;
    static constexpr int kMaxStatusLines = kMaxErrorLines + 1;

    // One tick.  `readStatus` gives the file's first kMaxStatusLines lines;
    // it is called only from the third tick on, each time right after
    // `engineEnded`, so that a file read after the engine's end holds its
    // last word.  " end" is success at once; another message is the error
    // outcome once the engine has ended; a refused file is the error outcome
    // at once, with its refusal as the one line; a missing or unreadable file
    // or an empty first line is no news, like " start", and an engine found
    // ended on two such ticks in a row (one grace tick for the last write to
    // land) gives the error outcome.  True when this tick reached the outcome.
    bool tick(const std::function<StatusRead()>& readStatus, const std::function<bool()>& engineEnded);

    Outcome outcome() const { return outcome_; }
    // The error outcome's lines, at most kMaxErrorLines, in file order.
    const QStringList& errorLines() const { return errorLines_; }
    // The warnings of a success: the lines after " end" that are not blank,
    // at most kMaxErrorLines, in file order.
    const QStringList& warningLines() const { return warningLines_; }
    // The error outcome of an engine that ended and left " start" or nothing.
    bool endedWithoutResult() const { return endedWithoutResult_; }
    // How many lines of the file, blank ones not counted, the outcome leaves
    // out of errorLines() or warningLines(); at least that many when
    // leftOutAtLeast().
    int leftOutLines() const { return leftOut_; }
    bool leftOutAtLeast() const { return leftOutAtLeast_; }

private:
    int idleTicks_ = 0;
    bool endedOnce_ = false;
    bool endedWithoutResult_ = false;
    int leftOut_ = 0;
    bool leftOutAtLeast_ = false;
    Outcome outcome_ = Outcome::Running;
    QStringList errorLines_;
    QStringList warningLines_;
};

// The longest status line read: the engine's lines are short messages and
// at most a path.
constexpr int kMaxStatusLineBytes = 4096;
// The most of the file read to count the lines after the first ones: the
// engine gives each warning line once, at most one per item and kind and
// per plot file, far less than this.
constexpr qint64 kMaxStatusBytesCounted = qint64(1) << 20;

// Reads the first `maxLines` lines of the status file at `path` (links
// followed) without waiting on it, only when it is a regular file: never
// more than `maxLines` lines of kMaxStatusLineBytes, and the lines after
// them only counted, within the file's first kMaxStatusBytesCounted.
StatusRead readStatusFile(const QString& path, int maxLines = StatusPoll::kMaxStatusLines);

// Replaces the status file with one line, as the engine writes it; false
// with *error set when that fails.
bool writeStatusLine(const QString& path, const QString& line, QString* error);

// What opening an output of the work folder says first when the last run did
// not complete (the status file's first line is not " end"): its files may
// be cut off, and the status lines say why.  Nothing after a completed run
// (warnings after " end" included) or without a status file.
std::optional<QString> incompleteRunWarning(const QString& statusFile);

}  // namespace vormgui
