#include "core/StatusPoll.h"

#include <gtest/gtest.h>

#include <QFile>

#include "gui_test_support.h"

namespace vormgui {
namespace {

// Each tick of a case: the status file's first lines (a null text: no file)
// and whether the engine still runs; then what the tick must give.
struct Tick {
    const char* status;
    bool engineRuns;
    bool read;  // the file was read on this tick
    StatusPoll::Outcome outcome;
};
constexpr auto R = StatusPoll::Outcome::Running;
constexpr auto S = StatusPoll::Outcome::Success;
constexpr auto E = StatusPoll::Outcome::Error;

TEST(StatusPoll, TwoIdleTicksThenExactFirstLinesAndNothingAfterTheOutcome) {
    const struct {
        const char* what;
        std::vector<Tick> ticks;
        QStringList errorLines = {};
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
                [&]() -> std::optional<QStringList> {
                    read = true;
                    if (!tick.status) return std::nullopt;
                    return QString::fromLatin1(tick.status).split('\n').mid(0, StatusPoll::kMaxErrorLines);
                },
                [&] { return !tick.engineRuns; });
            EXPECT_EQ(read, tick.read) << k.what << ", tick " << t + 1;
            EXPECT_EQ(poll.outcome(), tick.outcome) << k.what << ", tick " << t + 1;
        }
        EXPECT_EQ(poll.errorLines(), k.errorLines) << k.what;
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
    };
    for (const auto& k : cases) {
        QFile::remove(status);
        if (k.file) test::writeFile(status, k.file);
        EXPECT_EQ(incompleteRunWarning(status), k.warning) << (k.file ? k.file : "no file");
    }
}

}  // namespace
}  // namespace vormgui
