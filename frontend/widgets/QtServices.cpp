#include "QtServices.h"

#include <signal.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include "HelpWindow.h"

namespace vormgui {

namespace {

class QtTicker : public Ticker {
public:
    QtTicker() { connect(&timer_, &QTimer::timeout, this, &Ticker::tick); }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Boxes and choosers sit over the window the user is working in.
QWidget* ownerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

}  // namespace

QtServices::QtServices() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}
QtServices::~QtServices() = default;

MsgAnswer QtServices::message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, ownerWindow());
    // Texts come from files, paths and the engine's status lines: a line
    // that happens to hold markup is shown as it is, never rendered.
    box.setTextFormat(Qt::PlainText);
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

bool QtServices::chooseOpenFile(FileChoice& choice) {
    const QString name = QFileDialog::getOpenFileName(ownerWindow(), choice.title, choice.fileName, choice.filter);
    if (name.isEmpty()) return false;
    choice.fileName = name;
    return true;
}

bool QtServices::chooseSaveFile(FileChoice& choice) {
    const QString name = QFileDialog::getSaveFileName(ownerWindow(), choice.title, choice.fileName, choice.filter,
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return false;
    choice.fileName = name;
    return true;
}

bool QtServices::choosePrinter() {
    QPrintDialog dialog(printer_.get(), ownerWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool QtServices::print(const QString&, const PrintDrawing& draw) {
    return draw(*printer_) && printer_->printerState() != QPrinter::Error;
}

int QtServices::showModal(QDialog& window) { return window.exec(); }

bool QtServices::showHelp(const QString& pagePath, QString* error) {
    if (!help_) help_ = std::make_unique<HelpWindow>();
    if (!help_->open(pagePath, error)) return false;
    help_->show();
    help_->raise();
    help_->activateWindow();
    return true;
}

qint64 QtServices::startEngine(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    // The engine's console would otherwise write into a pipe nobody reads.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid)) return 0;
    return pid;
}

bool QtServices::stopEngine(qint64 pid, const QString& program) {
    if (pid <= 0 || !processRunsProgram(pid, program)) return false;
    return ::kill(static_cast<pid_t>(pid), SIGTERM) == 0;
}

bool QtServices::engineRunning(qint64 pid, const QString& program) { return processRunsProgram(pid, program); }

bool QtServices::waitForEngineEnd(qint64 pid, const QString& program, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (processRunsProgram(pid, program)) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

std::unique_ptr<Ticker> QtServices::newTicker() { return std::make_unique<QtTicker>(); }

QTime QtServices::timeOfDay() { return QTime::currentTime(); }

void QtServices::endProgram() { QCoreApplication::exit(0); }

bool processRunsProgram(qint64 pid, const QString& program) {
    if (pid <= 0) return false;
    const QString running = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    const QString wanted = QFileInfo(program).canonicalFilePath();
    return !running.isEmpty() && !wanted.isEmpty() && running == wanted;
}

}  // namespace vormgui
