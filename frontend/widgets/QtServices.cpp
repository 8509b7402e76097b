#include "QtServices.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <cstdlib>
#include <cstring>

#include "HelpWindow.h"
#include "platform/NativePath.h"
#include "platform/spawnDetached.h"

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
    // A work folder reached through a descriptor is shown by its own name.
    QMessageBox box(boxIcon(icon), withFolderNames(title), withFolderNames(text), QMessageBox::NoButton, ownerWindow());
    // Texts come from files, paths and the engine's status lines: a line
    // that happens to hold markup is shown as it is, never rendered.
    box.setTextFormat(Qt::PlainText);
    if (buttons == MsgButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MsgAnswer::Ok;
    }
    const bool cancel = buttons == MsgButtons::YesNoCancel;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | (cancel ? QMessageBox::Cancel : QMessageBox::NoButton));
    box.setDefaultButton(QMessageBox::Yes);
    // With Cancel, Escape and the box's close button change nothing; without
    // it, whatever is not Yes is No.
    if (cancel) box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    return answer == QMessageBox::Yes             ? MsgAnswer::Yes
           : answer == QMessageBox::No || !cancel ? MsgAnswer::No
                                                  : MsgAnswer::Cancel;
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
    // Started from bytes, so that a program folder whose name is not UTF-8
    // reaches the engine as it is; the engine's console would otherwise
    // write into a pipe nobody reads.
    QList<QByteArray> words;
    for (const QString& argument : arguments) words << nativePath(argument);
    return spawnDetached(nativePath(program), words, nativePath(workingFolder));
}

bool QtServices::stopEngine(qint64 pid, const QString& program) {
    if (pid <= 0 || !processRunsProgram(pid, program)) return false;
    return ::kill(static_cast<pid_t>(pid), SIGTERM) == 0;
}

bool QtServices::engineRunning(qint64 pid, const QString& program) { return processRunsProgram(pid, program); }

std::unique_ptr<Ticker> QtServices::newTicker() { return std::make_unique<QtTicker>(); }

QTime QtServices::timeOfDay() { return QTime::currentTime(); }

void QtServices::endProgram() { QCoreApplication::exit(0); }

bool processRunsProgram(qint64 pid, const QString& program) {
    if (pid <= 0) return false;
    // Compared as bytes: a name that is not UTF-8 has no QString of its own.
    char running[PATH_MAX + 1];
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t got = ::readlink(link.constData(), running, PATH_MAX);
    if (got <= 0) return false;
    running[got] = '\0';
    char wanted[PATH_MAX];
    if (!::realpath(nativePath(program).constData(), wanted)) return false;
    return std::strcmp(running, wanted) == 0;
}

}  // namespace vormgui
