#include "RecordingServices.h"

#include <QDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QTimer>
#include <cmath>

namespace vormgui {

namespace {

class RecordedTicker : public Ticker {
public:
    RecordedTicker(RecordingServices& rec, std::vector<Ticker*>& live) : rec_(rec), live_(live) {
        live_.push_back(this);
        connect(&timer_, &QTimer::timeout, this, &Ticker::tick);
        // Connected first, so the count stands before a window acts on the tick.
        connect(this, &Ticker::tick, this, [this] { ++rec_.ticksGiven; });
    }
    ~RecordedTicker() override { std::erase(live_, static_cast<Ticker*>(this)); }
    void start(int intervalMs) override {
        rec_.tickerStarts << intervalMs;
        timer_.start(static_cast<int>(std::lround(intervalMs * rec_.clockScale)));
    }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    RecordingServices& rec_;
    std::vector<Ticker*>& live_;
};

}  // namespace

QStringList RecordingServices::messageTexts() const {
    QStringList texts;
    for (const Message& m : messages) texts << m.text;
    return texts;
}

void RecordingServices::fireTickers() {
    const std::vector<Ticker*> running = tickers_;
    for (Ticker* t : running)
        if (t->isActive()) emit t->tick();
}

MsgAnswer RecordingServices::message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
    log << QStringLiteral("message %1: %2").arg(title, text);
    messages.push_back({text, title, icon, buttons});
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return MsgAnswer::No;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

bool RecordingServices::chooseFile(const char* kind, FileChoice& choice) {
    log << QString::fromLatin1(kind);
    choicesOffered.push_back(choice);
    if (fileAnswers.empty()) return false;
    const QString name = fileAnswers.front();
    fileAnswers.pop_front();
    if (name.isEmpty()) return false;
    choice.fileName = name;
    return true;
}

bool RecordingServices::chooseOpenFile(FileChoice& choice) { return chooseFile("open-file", choice); }
bool RecordingServices::chooseSaveFile(FileChoice& choice) { return chooseFile("save-file", choice); }

bool RecordingServices::choosePrinter() {
    log << QStringLiteral("printer");
    return printerChosen;
}

bool RecordingServices::print(const QString& what, const PrintDrawing& draw) {
    log << QStringLiteral("print ") + what;
    if (printToPdf.isEmpty()) return true;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printToPdf);
    return draw(printer);
}

int RecordingServices::showModal(QDialog& window) {
    log << QStringLiteral("modal ") + window.objectName();
    return onModal ? onModal(window) : 0;
}

bool RecordingServices::showHelp(const QString& pagePath, QString* error) {
    log << QStringLiteral("help ") + pagePath;
    if (!helpWorks || !QFileInfo(pagePath).isFile()) {
        if (error) *error = QStringLiteral("File not found");
        return false;
    }
    return true;
}

qint64 RecordingServices::startEngine(const QString& program, const QStringList& arguments, const QString&) {
    log << (QStringList{QStringLiteral("start"), program} + arguments).join(QLatin1Char(' '));
    if (nextEnginePid != 0) runningEngines << nextEnginePid;
    return nextEnginePid;
}

bool RecordingServices::stopEngine(qint64 pid, const QString&) {
    log << QStringLiteral("stop %1").arg(pid);
    if (!runningEngines.contains(pid)) return false;
    if (!enginesIgnoreStop) runningEngines.removeAll(pid);
    return true;
}

bool RecordingServices::engineRunning(qint64 pid, const QString&) { return runningEngines.contains(pid); }

std::unique_ptr<Ticker> RecordingServices::newTicker() { return std::make_unique<RecordedTicker>(*this, tickers_); }

void RecordingServices::endProgram() { log << QStringLiteral("end"); }

}  // namespace vormgui
