#include "core/StatusPoll.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "gui_test_support.h"

namespace vormgui {
namespace {

// Each tick of a case: the status file's first lines (a null text: no file;
// kRefused: a file that is refused unread) and whether the engine still
// runs; then what the tick must give.
struct Tick {
    const char* status;
    bool engineRuns;
    bool read;  // the file was read on this tick
    StatusPoll::Outcome outcome;
};
constexpr auto R = StatusPoll::Outcome::Running;
constexpr auto S = StatusPoll::Outcome::Success;
constexpr auto E = StatusPoll::Outcome::Error;
const char* const kRefused = "refused";
const QString kRefusal = QStringLiteral("The status file could not be read.");
const char* const kFifo = "fifo";

TEST(StatusPoll, TwoIdleTicksThenExactFirstLinesAndNothingAfterTheOutcome) {
    const struct {
        const char* what;
        std::vector<Tick> ticks;
        QStringList errorLines = {};
        QStringList warningLines = {};
        int leftOut = 0;  // lines that hold more than blanks, not shown
        bool atLeast = false;
    } cases[] = {
        {"end on the third tick",
         {{" end", true, false, R}, {" end", true, false, R}, {" end", true, true, S}, {" end", true, false, S}}},
        {"end without its blank is an error",
         {{"end", true, false, R}, {"end", true, false, R}, {"end", false, true, E}, {" end", true, false, E}},
         {"end"}},
        {"END in capitals is an error",
         {{" END", true, false, R}, {" END", true, false, R}, {" END", false, true, E}},
         {" END"}},
        {"a warning while the engine runs is no outcome, and the end that replaces it is success",
         {{" LIMIT", true, false, R},
          {" LIMIT", true, false, R},
          {" LIMIT", true, true, R},
          {" LIMIT\n MORE", true, true, R},
          {" end", false, true, S}},
         {}},
        {"the message that stands when the engine has ended is the error, without a grace tick",
         {{" LIMIT", true, false, R},
          {" LIMIT", true, false, R},
          {" LIMIT\n MORE", true, true, R},
          {" LIMIT\n MORE", false, true, E}},
         {" LIMIT", " MORE"}},
        {"an error shows its first seven lines, blank ones too, and leaves out the others",
         {{" start", true, false, R},
          {" start", true, false, R},
          {" E1\n\n E3\n E4\n E5\n E6\n E7\n E8\n\n E10\n E11", false, true, E}},
         {" E1", "", " E3", " E4", " E5", " E6", " E7"},
         {},
         3},
        {"no file and an empty first line are no news",
         {{nullptr, true, false, R},
          {nullptr, true, false, R},
          {nullptr, true, true, R},
          {"\n end", true, true, R},
          {" end", true, true, S}}},
        {"an engine gone with start left gets one grace tick",
         {{" start", false, false, R},
          {" start", false, false, R},
          {" start", false, true, R},
          {" start", false, true, E}},
         {StatusPoll::kEndedWithoutResult}},
        {"the grace tick lets the last write land",
         {{" start", false, false, R},
          {" start", false, false, R},
          {nullptr, false, true, R},
          {" end", false, true, S}}},
        {"warnings after the end are shown with the success, seven at most",
         {{" start", true, false, R},
          {" start", true, false, R},
          {" end\n W1\n W2\n W3\n W4\n W5\n W6\n W7\n W8", true, true, S}},
         {},
         {" W1", " W2", " W3", " W4", " W5", " W6", " W7"},
         1},
        // The blank line takes one of the eight lines read.
        {"blank lines among the warnings are neither shown nor left out",
         {{" start", true, false, R},
          {" start", true, false, R},
          {" end\n W1\n\n W2\n W3\n W4\n W5\n W6\n W7\n \n W8\n W9\n\t", true, true, S}},
         {},
         {" W1", " W2", " W3", " W4", " W5", " W6"},
         3},
        {"a file longer than was counted has at least that many more",
         {{" start", true, false, R}, {" start", true, false, R}, {" end\n W1\n W2", true, true, S}},
         {},
         {" W1", " W2"},
         0,
         true},
        {"blank lines after the end are no warnings",
         {{" start", true, false, R}, {" start", true, false, R}, {" end\n\n   \n", false, true, S}}},
        {"a refused file ends the watch at once, also while the engine runs",
         {{" start", true, false, R}, {" start", true, false, R}, {kRefused, true, true, E}, {" end", false, false, E}},
         {kRefusal}},
        {"a running engine resets the grace",
         {{" start", true, false, R},
          {" start", true, false, R},
          {" start", false, true, R},
          {" start", true, true, R},
          {" start", false, true, R},
          {" start", false, true, E}},
         {StatusPoll::kEndedWithoutResult}},
    };
    for (const auto& k : cases) {
        StatusPoll poll;
        for (std::size_t t = 0; t < k.ticks.size(); ++t) {
            const Tick& tick = k.ticks[t];
            bool read = false;
            poll.tick(
                [&] {
                    read = true;
                    StatusRead file;
                    if (tick.status == kRefused) {
                        file.status = StatusRead::Status::Refused;
                        file.refusal = kRefusal;
                    } else if (tick.status) {
                        // The file's first lines, and the count of the others
                        // that hold more than blanks.
                        const QStringList all = QString::fromLatin1(tick.status).split('\n');
                        file.status = StatusRead::Status::Read;
                        file.lines = all.mid(0, StatusPoll::kMaxStatusLines);
                        for (const QString& line : all.mid(StatusPoll::kMaxStatusLines))
                            file.moreLines += line.trimmed().isEmpty() ? 0 : 1;
                        file.moreAtLeast = k.atLeast;
                    }
                    return file;
                },
                [&] { return !tick.engineRuns; });
            EXPECT_EQ(read, tick.read) << k.what << ", tick " << t + 1;
            EXPECT_EQ(poll.outcome(), tick.outcome) << k.what << ", tick " << t + 1;
        }
        EXPECT_EQ(poll.errorLines(), k.errorLines) << k.what;
        EXPECT_EQ(poll.warningLines(), k.warningLines) << k.what;
        EXPECT_EQ(poll.leftOutLines(), k.leftOut) << k.what;
        EXPECT_EQ(poll.leftOutAtLeast(), k.atLeast) << k.what;
    }
}

// The warning before an output opens: only a status file whose first line is
// not " end" gives one, with the file's lines as the reason.
TEST(IncompleteRunWarning, OnlyARunThatDidNotEndGetsItWithItsStatusLines) {
    test::TempFolder work;
    const QString status = work.file("status");
    const QString lead =
        "The last run did not complete, so its output files may be incomplete.\n\nIts status file says:\n";
    const struct {
        const char* file;  // null: no status file
        std::optional<QString> warning;
    } cases[] = {
        {nullptr, std::nullopt},
        {" end\n", std::nullopt},
        {" end\r\n", std::nullopt},
        {" THE RUN WAS STOPPED BY THE USER.\n", lead + " THE RUN WAS STOPPED BY THE USER."},
        {" start\n", lead + " start"},
        {" end \n", lead + " end "},
        {"  CANNOT OPEN DATA FILE. CHECK ACCURACY OF \n  SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       \n",
         lead + "  CANNOT OPEN DATA FILE. CHECK ACCURACY OF \n  SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       "},
        {"", lead + "(nothing)"},
        {" end\n MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n", std::nullopt},
        {kFifo, lead + "The status file " + status + " could not be read: it is not a regular file."},
    };
    for (const auto& k : cases) {
        QFile::remove(status);
        if (k.file == kFifo)
            ASSERT_EQ(::mkfifo(QFile::encodeName(status).constData(), 0600), 0);
        else if (k.file)
            test::writeFile(status, k.file);
        EXPECT_EQ(incompleteRunWarning(status), k.warning) << (k.file ? k.file : "no file");
    }
}

// The status file is read as the monitor reads it once a second while an
// engine writes it: never waiting on it, its first lines, each of a bounded
// length, and the others only counted, within a bound; and only when it is
// a regular file.
TEST(ReadStatusFile, ARegularFileGivesItsFirstBoundedLinesAndAnythingElseIsRefused) {
    test::TempFolder work;
    const QString status = work.file("status");
    const QByteArray longest(kMaxStatusLineBytes, 'x');
    const QString tooLong = "The status file " + status + " could not be read: a line of it is longer than 4096 bytes.";
    const QString notAFile = "The status file " + status + " could not be read: it is not a regular file.";
    using S = StatusRead::Status;
    const struct {
        const char* what;
        std::function<void()> make;
        int maxLines;
        S status;
        QStringList lines;
        QString refusal = {};
        int more = 0;  // lines after those read that hold more than blanks
        bool atLeast = false;
    } cases[] = {
        {"no file", [] {}, 8, S::Missing, {}},
        {"an empty file", [&] { test::writeFile(status); }, 8, S::Read, {}},
        {"CR LF and a last line still being written",
         [&] { test::writeFile(status, " end\r\n MAXIMUM\r\n SINGU"); },
         8,
         S::Read,
         {" end", " MAXIMUM", " SINGU"}},
        {"the first lines, the others counted",
         [&] { test::writeFile(status, "1\n2\n3\n"); },
         2,
         S::Read,
         {"1", "2"},
         {},
         1},
        {"blank lines are not counted, a last line without its end is",
         [&] { test::writeFile(status, " end\n W1\n\n  \t\r\n W2\r\n W3"); },
         2,
         S::Read,
         {" end", " W1"},
         {},
         2},
        // 349525 lines of three bytes fill all but one byte of the megabyte
        // that is counted; that byte is a blank.
        {"lines past the first megabyte are not counted",
         [&] {
             QByteArray many;
             for (int k = 0; k < 400000; ++k) many += " W\n";
             test::writeFile(status, many);
         },
         8,
         S::Read,
         QStringList(8, " W"),
         {},
         349525 - 8,
         true},
        {"lines of the longest length, the last without its line end",
         [&] { test::writeFile(status, longest + "\r\n" + longest + "\n" + longest); },
         8,
         S::Read,
         {QString(longest), QString(longest), QString(longest)}},
        {"a line one byte longer",
         [&] { test::writeFile(status, " start\n" + longest + "x\n"); },
         8,
         S::Refused,
         {},
         tooLong},
        {"a line of a megabyte without a line end",
         [&] { test::writeFile(status, QByteArray(1 << 20, 'x')); },
         8,
         S::Refused,
         {},
         tooLong},
        {"a line of a megabyte after the lines read is only counted, as far as the first megabyte",
         [&] { test::writeFile(status, " end\n" + QByteArray(1 << 20, 'x')); },
         1,
         S::Read,
         {" end"},
         {},
         1,
         true},
        {"a named pipe without a writer",
         [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(status).constData(), 0600), 0); },
         8,
         S::Refused,
         {},
         notAFile},
        {"a folder", [&] { QDir().mkdir(status); }, 8, S::Refused, {}, notAFile},
        {"a link to a device", [&] { QFile::link(QStringLiteral("/dev/zero"), status); }, 8, S::Refused, {}, notAFile},
    };
    for (const auto& k : cases) {
        QFile::remove(status);
        QDir().rmdir(status);
        k.make();
        const StatusRead read = readStatusFile(status, k.maxLines);
        EXPECT_EQ(read.status, k.status) << k.what;
        EXPECT_EQ(read.lines, k.lines) << k.what;
        EXPECT_EQ(read.refusal, k.refusal) << k.what;
        EXPECT_EQ(read.moreLines, k.more) << k.what;
        EXPECT_EQ(read.moreAtLeast, k.atLeast) << k.what;
    }
}

}  // namespace
}  // namespace vormgui
