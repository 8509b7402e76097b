// The services of a test: nothing is shown, nothing blocks, no process is
// started.  Every call is kept, in order, in `log` (one line per call) and
// the messages also with their parts, so tests assert the exact texts; the
// answers come from scripts that the test sets beforehand.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/Services.h"

namespace vormgui {

class RecordingServices : public Services {
public:
    struct Message {
        QString text;
        QString title;
        MsgIcon icon;
        MsgButtons buttons;
    };

    // What was asked, in order: "message <title>: <text>", "open-file",
    // "save-file", "printer", "print <what>", "modal <objectName>",
    // "help <path>", "start <program> <args...>", "stop <pid>", "end".
    QStringList log;
    std::vector<Message> messages;

    // Answers to Yes/No and Yes/No/Cancel boxes, taken from the front; No
    // when none is left.
    std::deque<MsgAnswer> answers;
    // Answers to the file choosers: a name chooses it, an empty name cancels;
    // cancel when none is left.
    std::deque<QString> fileAnswers;
    // Each chooser as it was opened: its title, filter and the name it offered.
    std::vector<FileChoice> choicesOffered;
    bool printerChosen = true;
    // Printing draws on a PDF printer writing this file when it is set, and
    // draws nothing (but succeeds) when it is empty.
    QString printToPdf;
    // What a modal window does while it is "shown"; without it the window is
    // not shown and the result is 0.
    std::function<int(QDialog&)> onModal;
    // Help pages that open; a page that does not exist fails as the help
    // window fails.
    bool helpWorks = true;
    qint64 nextEnginePid = 4242;
    // Engines that run: a start adds its id, a stop removes it, and a test
    // removes one to let it end.
    QList<qint64> runningEngines;
    // Engines that go on after a stop, as one that ignores the signal.
    bool enginesIgnoreStop = false;
    // Ticks run on real timers whose intervals are multiplied by this; tests
    // shorten a two-second splash with a small factor.  Tickers must not
    // outlive the recorder that made them.
    double clockScale = 1.0;
    // The time of day that the recorder's clock shows; tests move it.
    QTime clock = QTime(9, 30, 0);
    // Every ticker start's interval as the window asked for it (before the
    // scale), in order, and the ticks that all tickers have given, by their
    // timers or by hand: timers are checked by counts, never by the time a
    // loaded machine takes.
    QList<int> tickerStarts;
    int ticksGiven = 0;

    // The messages' texts only, in order.
    QStringList messageTexts() const;
    // Emits one tick of every running ticker.
    void fireTickers();

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    bool chooseOpenFile(FileChoice& choice) override;
    bool chooseSaveFile(FileChoice& choice) override;
    bool choosePrinter() override;
    bool print(const QString& what, const PrintDrawing& draw) override;
    int showModal(QDialog& window) override;
    bool showHelp(const QString& pagePath, QString* error) override;
    qint64 startEngine(const QString& program, const QStringList& arguments, const QString& workingFolder) override;
    bool stopEngine(qint64 pid, const QString& program) override;
    bool engineRunning(qint64 pid, const QString& program) override;
    std::unique_ptr<Ticker> newTicker() override;
    QTime timeOfDay() override { return clock; }
    void endProgram() override;

private:
    bool chooseFile(const char* kind, FileChoice& choice);
    std::vector<Ticker*> tickers_;
};

}  // namespace vormgui
