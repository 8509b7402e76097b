#include "shell/FormTimer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

#include "JobTestSupport.h"
#include "gui_test_support.h"
#include "widgets/QtServices.h"

namespace vormgui {
namespace {

using test::writeFile;

// The monitor on a run of the stand-in engine, copied to where the engine
// lies and started for real.  Ticks are fired by hand, and the engine waits
// for the test where the test must look before it goes on.
using test::LiveEngine;
using test::waitFor;

class MonitorOnAFakeEngine : public ::testing::Test {
protected:
    MonitorOnAFakeEngine() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir().mkpath(paths.workDir());
        QFile::copy(QStringLiteral(VORM_FAKE_ENGINE), paths.engineProgram());
        QFile(paths.engineProgram()).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }

    // Runs a job on an engine that follows `plan`; File > Run must show the
    // monitor once, and `whileShown` acts on it and ends by closing it.
    void run(const QByteArray& plan, const std::function<void(FormTimer&)>& whileShown) {
        writeFile(paths.workFile("fakeplan"), plan);
        FormMain form(rec, paths);
        form.jobSettings.appDir = paths.appDir();
        form.addPage(pages);
        form.setJobPages(pages);
        form.newJob();
        form.setModelNumber(4);
        form.jobSettings.dataFileName = "EXAMPLE.DAT";
        form.jobSettings.fortranFormat = "(I5,1X,2I1)";
        int shown = 0;
        rec.onModal = [&](QDialog& monitor) {
            ++shown;
            whileShown(dynamic_cast<FormTimer&>(monitor));
            EXPECT_TRUE(monitor.isHidden()) << "the monitor was closed";
            return 0;
        };
        form.mnuRunitem->trigger();
        EXPECT_EQ(shown, 1) << "File > Run showed the monitor";
        EXPECT_EQ(form.engineRun.engineTaskId, rec.lastPid);
    }

    bool engineRuns() const { return processRunsProgram(rec.lastPid, paths.engineProgram()); }
    QByteArray status() const { return test::readFile(paths.workFile("status")); }
    void ticks(int n) {
        for (int k = 0; k < n; ++k) rec.fireTickers();
    }

    test::TempFolder root;
    AppPaths paths;
    LiveEngine rec;
    test::FakeJobPages pages;
};

TEST_F(MonitorOnAFakeEngine, SuccessComesOnTheThirdTickAndOKClosesTheMonitor) {
    run("status  start\nsleep 100\nstatus  end\n", [&](FormTimer& m) {
        ASSERT_TRUE(waitFor([&] { return status() == " end\n"; }));
        EXPECT_EQ(m.LabelStartTime->text(), "09:30:00");
        rec.clock = QTime(9, 30, 2);
        ticks(2);
        EXPECT_EQ(m.LabelTitle->text(), FormTimer::kRunning);
        EXPECT_EQ(m.LabelEndTimeTitle->text(), "Current Time:");
        EXPECT_EQ(m.CommandQuit->text(), "Quit Without Waiting");
        EXPECT_EQ(m.LabelEndTime->text(), "09:30:02");
        rec.clock = QTime(9, 30, 3);
        ticks(1);
        rec.clock = QTime(9, 30, 4);
        ticks(1);
        EXPECT_EQ(m.LabelEndTime->text(), "09:30:03") << "the end time stands from the outcome";
        EXPECT_EQ(m.LabelStartTime->text(), "09:30:00");
        EXPECT_EQ(m.LabelTitle->text(), FormTimer::kSucceeded);
        EXPECT_EQ(m.LabelEndTimeTitle->text(), "End Time:");
        EXPECT_EQ(m.CommandQuit->text(), "OK");
        EXPECT_TRUE(m.LabelWarnings->isHidden()) << "a run without warnings shows none";
        m.CommandQuit->click();
    });
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(status(), " end\n") << "OK after the outcome leaves the status as the engine wrote it";
}

TEST_F(MonitorOnAFakeEngine, AnErrorShowsSevenLinesAndHowManyMoreInOneBoxAndLaterTicksDoNothing) {
    QByteArray plan = "status  start\nstatus  ERROR LINE 1\n";
    for (int k = 2; k <= 9; ++k) plan += "more  ERROR LINE " + QByteArray::number(k) + "\n";
    run(plan, [&](FormTimer& m) {
        ASSERT_TRUE(waitFor([&] { return status().contains("LINE 9") && !engineRuns(); }));
        ticks(5);
        EXPECT_EQ(m.LabelTitle->text(), FormTimer::kFailed);
        EXPECT_EQ(m.CommandQuit->text(), "OK");
        m.CommandQuit->click();
    });
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(status().startsWith(" ERROR LINE 1\n")) << "OK after the outcome leaves the engine's lines";
    EXPECT_EQ(rec.messages[0].text,
              " ERROR LINE 1\r ERROR LINE 2\r ERROR LINE 3\r ERROR LINE 4\r ERROR LINE 5\r ERROR LINE 6\r ERROR LINE "
              "7\r2 more lines are in " +
                  paths.workFile("status") + ".");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(rec.messages[0].title.isEmpty());
}

// A completed run's warnings follow its " end"; the success shows them
// beneath it, as the engine wrote them, the first seven, and says how many
// more the status file holds.
TEST_F(MonitorOnAFakeEngine, AWarningWhileTheEngineRunsIsNoOutcomeAndTheEndThatReplacesItIsSuccess) {
    QByteArray seven = "status  end\n";
    QString sevenShown;
    for (int k = 1; k <= 7; ++k) {
        seven += "more  ITEM " + QByteArray::number(k) + "\n";
        sevenShown += QStringLiteral(" ITEM %1\n").arg(k);
    }
    const QString file = paths.workFile("status");
    const struct {
        QByteArray end;
        QString warnings;  // empty: none shown
    } ends[] = {
        {"status  end\n", QString()},
        {"status  end\nmore  MAXIMUM NUMBER OF ITERATIONS EXCEEDED\nmore <b>SINGULAR</b> &amp;\n",
         " MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n<b>SINGULAR</b> &amp;"},
        {seven, sevenShown.chopped(1)},
        {seven + "more  \nmore  ITEM 8\nmore  ITEM 9\n", sevenShown + "2 more warnings are in " + file + "."},
        // Past what is counted, a line of a megabyte.
        {seven + "more  " + QByteArray(1 << 20, 'x') + "\n",
         sevenShown + "At least 1 more warning is in " + file + "."},
    };
    for (const auto& end : ends) {
        QFile::remove(paths.workFile("go"));
        rec.messages.clear();
        run(QByteArray("status  start\nstatus  MAXIMUM NUMBER OF ITERATIONS EXCEEDED\nawait go\n") + end.end,
            [&](FormTimer& m) {
                ASSERT_TRUE(waitFor([&] { return status().startsWith(" MAXIMUM") && engineRuns(); }));
                ticks(4);
                EXPECT_EQ(m.LabelTitle->text(), FormTimer::kRunning);
                EXPECT_EQ(m.CommandQuit->text(), "Quit Without Waiting");
                EXPECT_TRUE(m.LabelWarnings->isHidden()) << "a warning while the engine runs is shown with no outcome";
                writeFile(paths.workFile("go"));
                ASSERT_TRUE(waitFor([&] { return !engineRuns(); }));
                ticks(1);
                EXPECT_EQ(m.LabelTitle->text(), FormTimer::kSucceeded);
                EXPECT_EQ(m.LabelWarnings->isHidden(), end.warnings.isEmpty()) << end.end.left(200).toStdString();
                EXPECT_EQ(m.LabelWarnings->text(), end.warnings) << end.end.left(200).toStdString();
                EXPECT_EQ(m.LabelWarnings->textFormat(), Qt::PlainText);
                m.CommandQuit->click();
            });
        EXPECT_TRUE(rec.messages.empty()) << end.end.left(200).toStdString();
    }
}

TEST_F(MonitorOnAFakeEngine, AWarningThatStandsWhenTheEngineEndsIsTheErrorWithItsLines) {
    run("status  start\nstatus  SINGULARITY WHEN INFORMATION MATRIX\nmore  INVERTED FOR ITEM 3\nawait go\n",
        [&](FormTimer& m) {
            ASSERT_TRUE(waitFor([&] { return status().contains("ITEM 3") && engineRuns(); }));
            ticks(3);
            EXPECT_EQ(m.LabelTitle->text(), FormTimer::kRunning);
            writeFile(paths.workFile("go"));
            ASSERT_TRUE(waitFor([&] { return !engineRuns(); }));
            ticks(1);
            EXPECT_EQ(m.LabelTitle->text(), FormTimer::kFailed);
            m.CommandQuit->click();
        });
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, " SINGULARITY WHEN INFORMATION MATRIX\r INVERTED FOR ITEM 3");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
}

TEST_F(MonitorOnAFakeEngine, AnEarlierRunsEndIsNeverReportedAndAMissingStatusIsPolledAgain) {
    writeFile(paths.workFile("status"), " end\n");
    run("await go\nstatus  end\n", [&](FormTimer& m) {
        ASSERT_TRUE(waitFor([&] { return engineRuns(); }));
        ticks(3);
        EXPECT_EQ(m.LabelTitle->text(), FormTimer::kRunning) << "the engine has written nothing yet";
        QFile::remove(paths.workFile("status"));
        ticks(1);
        EXPECT_EQ(m.LabelTitle->text(), FormTimer::kRunning);
        writeFile(paths.workFile("go"));
        ASSERT_TRUE(waitFor([&] { return status() == " end\n" && !engineRuns(); }));
        ticks(1);
        EXPECT_EQ(m.LabelTitle->text(), FormTimer::kSucceeded);
        m.CommandQuit->click();
    });
}

// Quit Without Waiting, Escape and the window's close box end the run one
// way: this run's engine is stopped and gone when the monitor closes, and the
// status file says that the user stopped the run.
TEST_F(MonitorOnAFakeEngine, QuitEscapeAndTheCloseBoxStopThisRunsEngineAndNoOtherProcess) {
    QProcess other;
    other.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(other.waitForStarted());
    const std::pair<const char*, std::function<void(FormTimer&)>> ways[] = {
        {"Quit Without Waiting", [](FormTimer& m) { m.CommandQuit->click(); }},
        {"Escape",
         [](FormTimer& m) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&m, &escape);
         }},
        {"the close box", [](FormTimer& m) { m.close(); }},
    };
    for (const auto& [way, quit] : ways) {
        rec.log.clear();
        run("status  start\nsleep 30000\n", [&, quit = quit](FormTimer& m) {
            m.show();
            ASSERT_TRUE(waitFor([&] { return status() == " start\n" && engineRuns(); }));
            ticks(4);
            quit(m);
            // The monitor's clock stands still, so only the engine's end closes it.
            ASSERT_TRUE(waitFor([&] {
                QCoreApplication::processEvents();
                return m.isHidden();
            }));
            EXPECT_FALSE(engineRuns()) << "the monitor closed before the engine had gone";
            EXPECT_EQ(status(), " THE RUN WAS STOPPED BY THE USER.\n");
        });
        EXPECT_EQ(rec.log.filter("stop").size(), 1) << way;
        EXPECT_TRUE(rec.messages.empty()) << way;
    }

    // The same monitor on a process that is not this run's engine signals
    // nothing and closes at once.
    FormTimer monitor(rec, paths.workFile("status"), EngineRun{other.processId(), paths.engineProgram()}, nullptr);
    monitor.CommandQuit->click();
    EXPECT_TRUE(monitor.isHidden());
    EXPECT_EQ(other.state(), QProcess::Running);
    EXPECT_FALSE(other.waitForFinished(200));
    other.kill();
    other.waitForFinished();
}

// A status file that no engine writes ends the watch on the tick that finds
// it, with a line that says so, and never keeps the window waiting on it.
TEST_F(MonitorOnAFakeEngine, AStatusFileThatIsNoRegularFileOrHoldsAHugeLineEndsTheWatchAtOnce) {
    const QString path = paths.workFile("status");
    const struct {
        const char* what;
        QByteArray plan;
        std::function<bool()> written;
        QString line;
    } cases[] = {
        {"a named pipe", "status  start\nfifo status\nawait go\n",
         [&] { return QFileInfo::exists(path) && !QFileInfo(path).isFile(); },
         "The status file " + path + " could not be read: it is not a regular file."},
        {"a line of a megabyte", "status  start\nstatus " + QByteArray(1 << 20, 'x') + "\nawait go\n",
         [&] { return QFileInfo(path).size() > (1 << 20); },
         "The status file " + path + " could not be read: a line of it is longer than 4096 bytes."},
    };
    for (const auto& k : cases) {
        rec.messages.clear();
        rec.log.clear();
        run(k.plan, [&](FormTimer& m) {
            ASSERT_TRUE(waitFor([&] { return k.written() && engineRuns(); })) << k.what;
            ticks(3);
            EXPECT_EQ(m.LabelTitle->text(), FormTimer::kFailed) << k.what;
            EXPECT_EQ(m.LabelEndTimeTitle->text(), "End Time:") << k.what;
            EXPECT_EQ(m.CommandQuit->text(), "OK") << k.what;
            m.CommandQuit->click();
        });
        ASSERT_EQ(rec.messages.size(), 1u) << k.what;
        EXPECT_EQ(rec.messages[0].text, k.line) << k.what;
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical) << k.what;
        EXPECT_EQ(rec.log.filter("stop").size(), 1) << k.what << ": OK stops the engine that wrote it";
        ASSERT_TRUE(waitFor([&] { return !engineRuns(); })) << k.what;
    }
}

// Quit Without Waiting on an engine that takes its time: the window lives on
// (the button's click returns at once, Escape and the close box change
// nothing) until the engine has gone, or five seconds on the monitor's clock
// have passed for one that goes on, midnight or not.  Then the status file
// says that the user stopped the run, unless the engine got to " end".
TEST(MonitorStoppingAnEngine, WaitsOnTheClockWithTheWindowAliveAndKeepsAFreshEnd) {
    const QByteArray stopped = " THE RUN WAS STOPPED BY THE USER.\n";
    const struct {
        const char* what;
        QTime quitAt;
        std::function<void(RecordingServices&, FormTimer&, const QString&)> meanwhile;
        QByteArray status;
    } cases[] = {
        {"an engine that goes on", QTime(9, 30, 0),
         [](RecordingServices& rec, FormTimer& m, const QString&) {
             rec.clock = QTime(9, 30, 4, 999);
             rec.fireTickers();
             EXPECT_TRUE(m.isVisible()) << "gave up before five seconds";
             rec.clock = QTime(9, 30, 5);
             rec.fireTickers();
         },
         stopped},
        {"an engine that goes on past midnight", QTime(23, 59, 58),
         [](RecordingServices& rec, FormTimer& m, const QString&) {
             rec.clock = QTime(0, 0, 2, 999);
             rec.fireTickers();
             EXPECT_TRUE(m.isVisible()) << "gave up before five seconds";
             rec.clock = QTime(0, 0, 3);
             rec.fireTickers();
         },
         stopped},
        {"an engine that ends", QTime(9, 30, 0),
         [](RecordingServices& rec, FormTimer& m, const QString&) {
             rec.clock = QTime(9, 30, 1);
             rec.fireTickers();
             EXPECT_TRUE(m.isVisible());
             rec.runningEngines.clear();
             rec.fireTickers();
         },
         stopped},
        {"an engine that got to its end", QTime(9, 30, 0),
         [](RecordingServices& rec, FormTimer&, const QString& status) {
             test::writeFile(status, " end\n MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n");
             rec.runningEngines.clear();
             rec.fireTickers();
         },
         " end\n MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n"},
    };
    for (const auto& k : cases) {
        test::TempFolder work;
        const QString status = work.file("status");
        writeFile(status, " start\n");
        RecordingServices rec;
        rec.enginesIgnoreStop = true;
        rec.runningEngines = {4242};
        FormTimer m(rec, status, EngineRun{4242, work.file("VORMCALC")}, nullptr);
        m.show();
        for (int t = 0; t < 4; ++t) rec.fireTickers();
        rec.clock = k.quitAt;
        m.CommandQuit->click();
        EXPECT_TRUE(m.isVisible()) << k.what << ": the monitor closed before the engine had gone";
        EXPECT_FALSE(m.CommandQuit->isEnabled()) << k.what;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&m, &escape);
        m.close();
        EXPECT_TRUE(m.isVisible()) << k.what;
        EXPECT_EQ(test::readFile(status), " start\n") << k.what << ": written while the engine may still write";
        k.meanwhile(rec, m, status);
        EXPECT_TRUE(m.isHidden()) << k.what;
        EXPECT_EQ(test::readFile(status), k.status) << k.what;
        EXPECT_EQ(rec.log, QStringList{"stop 4242"}) << k.what;
        EXPECT_TRUE(rec.messages.empty()) << k.what;
    }
}

}  // namespace
}  // namespace vormgui
