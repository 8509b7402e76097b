// The one seam between the front end and whatever blocks, prints, shows a
// window of its own, starts or stops a process, keeps time or ends the program.
//
// Windows take a Services& and never call QMessageBox, QFileDialog,
// QPrintDialog, QDialog::exec, QProcess or QTimer themselves, so every
// window's logic runs offscreen under a recorder (RecordingServices) that
// answers scripted choices and keeps what was asked, with the exact texts.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <memory>

class QDialog;
class QPrinter;

namespace vormgui {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// What one file dialog remembers between two uses: a window keeps one of
// these per dialog it owns, so a name or filter set by one command is still
// there for the next.
struct FileChoice {
    QString title;
    QString filter = QStringLiteral("All Files (*)");
    QString fileName;
};

// A tick source: a one-shot or repeating timer.  The recorder's ticks can be
// shortened or fired by hand.
class Ticker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

signals:
    void tick();
};

// Draws one document on a printer that the user chose; returns false when
// the printing failed.
using PrintDrawing = std::function<bool(QPrinter&)>;

class Services {
public:
    virtual ~Services() = default;

    // A message box; the answer is Ok for an Ok-only box.
    virtual MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) = 0;

    // File choosers: true with choice.fileName set when the user chose a
    // file, false (choice unchanged) when the user cancelled.  The save
    // chooser never asks about overwriting: callers ask their own question.
    virtual bool chooseOpenFile(FileChoice& choice) = 0;
    virtual bool chooseSaveFile(FileChoice& choice) = 0;

    // The printer choice; false when the user cancelled.  The chosen printer
    // stays chosen for the next print.
    virtual bool choosePrinter() = 0;
    // Prints one document on the chosen printer; `what` names it for the
    // record.  False when the drawing failed.
    virtual bool print(const QString& what, const PrintDrawing& draw) = 0;

    // Shows a window modally and returns its result code when it is hidden.
    virtual int showModal(QDialog& window) = 0;

    // Opens a help page (a full path) in a help window of its own.  False
    // with *error describing the failure when the page cannot be shown.
    virtual bool showHelp(const QString& pagePath, QString* error) = 0;

    // Starts the engine detached, with the working folder given, the
    // arguments as separate words and no standard streams; returns its
    // process id, or 0 when it could not be started.
    virtual qint64 startEngine(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;
    // Asks the engine process started as `pid` to stop, only when that id
    // still belongs to `program`; false when it does not or the signal failed.
    virtual bool stopEngine(qint64 pid, const QString& program) = 0;
    // True while the process started as `pid` still runs `program`.
    virtual bool engineRunning(qint64 pid, const QString& program) = 0;

    virtual std::unique_ptr<Ticker> newTicker() = 0;
    // The time of day on the clock that the tickers follow.
    virtual QTime timeOfDay() = 0;

    // Ends the program once control is back in its event loop.
    virtual void endProgram() = 0;
};

}  // namespace vormgui
