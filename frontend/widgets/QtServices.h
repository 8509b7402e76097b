// The services of the running program: Qt's boxes, choosers and printer, the
// help window, detached engine processes and real timers.
#pragma once

#include <memory>

#include "platform/Services.h"

class QPrinter;

namespace vormgui {
class HelpWindow;
}

namespace vormgui {

class QtServices : public Services {
public:
    QtServices();
    ~QtServices() override;

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
    QTime timeOfDay() override;
    void endProgram() override;

private:
    std::unique_ptr<QPrinter> printer_;
    // One help window for every page, made at the first Help.
    std::unique_ptr<HelpWindow> help_;
};

// True when the running process `pid` executes the program file `program`
// (compared after resolving links); false when it has ended or runs another.
bool processRunsProgram(qint64 pid, const QString& program);

}  // namespace vormgui
