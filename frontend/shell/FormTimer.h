// The run monitor "Running": shown modally by Run right after the engine
// start, it shows the start time and the time of the last tick, follows the
// status file once a second (StatusPoll), reports the outcome (with a box of
// the engine's error lines, or the warnings of a completed run beneath the
// success, and a last line that says how many more lines the file holds
// when it shows only the first), and closes on its one button, which first
// asks the engine of this run to stop.  A run that it closes before the
// outcome was stopped by the user: the monitor waits for the engine to go,
// its window still alive, and then the status file says so; an engine that
// ended without a word leaves a line that says that.
#pragma once

#include <QDialog>
#include <QTime>
#include <memory>

#include "core/StatusPoll.h"
#include "mCloseApp.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vormgui {

class Services;
class Ticker;

class FormTimer : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;
    // How long closing waits for a stopped engine to go before it writes the
    // status file all the same: an engine ends at once on the signal.  The
    // wait is measured on the services' clock and looks every kStopPollMs.
    static constexpr int kStopWaitMs = 5000;
    static constexpr int kStopPollMs = 50;
    static const QString kRunning;
    static const QString kSucceeded;
    static const QString kFailed;

    // Loads the monitor: centred over the main window, running captions, the
    // timer started.  `statusFile` is the work folder's status file.
    FormTimer(Services& services, const QString& statusFile, const EngineRun& run, QWidget* mainWindow);
    ~FormTimer() override;

    void TimerRun_Timer();
    void CommandQuit_Click();

    QFrame* FrameMe;
    QLabel* LabelTitle;
    // The warnings of a completed run, beneath the success; hidden without.
    QLabel* LabelWarnings;
    QLabel* LabeEndTimeTitle;
    QLabel* LabelStartTime;
    QLabel* LabelEndTimeTitle;
    QLabel* LabelEndTime;
    QPushButton* CommandQuit;
    std::unique_ptr<Ticker> TimerRun;
    // Ticks while Quit waits for the stopped engine to go.
    std::unique_ptr<Ticker> TimerStop;

protected:
    // Escape and the window's close quit as the button does, so no engine
    // goes on unwatched once its monitor is gone.
    void reject() override;

private:
    void Form_Load(QWidget* mainWindow);
    QString clockText() const;
    // The line beneath the status lines shown that says how many more there
    // are and in which file, with `one` or `many` naming them.
    QString leftOutLine(const char* one, const char* many) const;
    // Replaces the status file's first line unless the engine got to " end".
    void writeStatus(const QString& line);
    // Closes the monitor of a stopped run once its engine has gone or the
    // wait is over.
    void TimerStop_Timer();

    QTime stopStart_;
    Services& services_;
    QString statusFile_;
    EngineRun run_;
    StatusPoll poll_;
};

}  // namespace vormgui
