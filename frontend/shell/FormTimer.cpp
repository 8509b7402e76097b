#include "FormTimer.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Services.h"

namespace vormgui {

const QString FormTimer::kRunning = QStringLiteral("VORM2004 is running. Please wait...");
const QString FormTimer::kSucceeded = QStringLiteral("Analysis Finished Successfully!");
const QString FormTimer::kFailed = QStringLiteral("Analysis Finished With Error(s)!");

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

FormTimer::FormTimer(Services& services, const QString& statusFile, const EngineRun& run, QWidget* mainWindow)
    : QDialog(mainWindow),
      TimerRun(services.newTicker()),
      TimerStop(services.newTicker()),
      services_(services),
      statusFile_(statusFile),
      run_(run) {
    setObjectName(QStringLiteral("FormTimer"));
    setWindowTitle(QStringLiteral("Running"));
    FrameMe = new QFrame(this);
    FrameMe->setObjectName(QStringLiteral("FrameMe"));
    FrameMe->setFrameShape(QFrame::StyledPanel);
    LabelTitle = label(FrameMe, "LabelTitle");
    QFont big = LabelTitle->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    LabelTitle->setFont(big);
    LabelTitle->setAlignment(Qt::AlignCenter);
    // The engine's own lines, shown as they are.
    LabelWarnings = label(FrameMe, "LabelWarnings");
    LabelWarnings->setTextFormat(Qt::PlainText);
    LabelWarnings->setAlignment(Qt::AlignCenter);
    LabelWarnings->hide();
    LabeEndTimeTitle = label(FrameMe, "LabeEndTimeTitle", QStringLiteral("Start Time:"));
    LabelStartTime = label(FrameMe, "LabelStartTime");
    LabelEndTimeTitle = label(FrameMe, "LabelEndTimeTitle", QStringLiteral("End Time:"));
    LabelEndTime = label(FrameMe, "LabelEndTime");
    CommandQuit = new QPushButton(FrameMe);
    CommandQuit->setObjectName(QStringLiteral("CommandQuit"));
    CommandQuit->setAutoDefault(false);
    CommandQuit->setDefault(false);

    auto* grid = new QGridLayout(FrameMe);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->setVerticalSpacing(10);
    grid->addWidget(LabelTitle, 0, 0, 1, 2);
    grid->addWidget(LabelWarnings, 1, 0, 1, 2);
    grid->addWidget(LabeEndTimeTitle, 2, 0, Qt::AlignRight);
    grid->addWidget(LabelStartTime, 2, 1);
    grid->addWidget(LabelEndTimeTitle, 3, 0, Qt::AlignRight);
    grid->addWidget(LabelEndTime, 3, 1);
    grid->addWidget(CommandQuit, 4, 0, 1, 2, Qt::AlignHCenter);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(FrameMe);

    connect(CommandQuit, &QPushButton::clicked, this, &FormTimer::CommandQuit_Click);
    connect(TimerRun.get(), &Ticker::tick, this, &FormTimer::TimerRun_Timer);
    connect(TimerStop.get(), &Ticker::tick, this, &FormTimer::TimerStop_Timer);
    Form_Load(mainWindow);
}

FormTimer::~FormTimer() = default;

void FormTimer::Form_Load(QWidget* mainWindow) {
    LabelTitle->setText(kRunning);
    LabelStartTime->setText(clockText());
    LabelEndTime->setText(LabelStartTime->text());
    LabelEndTimeTitle->setText(QStringLiteral("Current Time:"));
    CommandQuit->setText(QStringLiteral("Quit Without Waiting"));
    // Sized for the longest title, so the window does not jump at the outcome.
    setMinimumWidth(fontMetrics().horizontalAdvance(kFailed) * 3 / 2 + 80);
    adjustSize();
    if (mainWindow) {
        const QRect main = mainWindow->frameGeometry();
        move(main.left() + main.width() / 2 - width() / 2, main.top() + main.height() / 2 - height() / 2);
    }
    TimerRun->start(kTickMs);
}

QString FormTimer::clockText() const { return services_.timeOfDay().toString(QStringLiteral("HH:mm:ss")); }

void FormTimer::TimerRun_Timer() {
    LabelEndTime->setText(clockText());
    const bool ended = poll_.tick([this] { return readStatusFile(statusFile_); },
                                  [this] { return !services_.engineRunning(run_.engineTaskId, run_.engineProgram); });
    if (!ended) return;
    // The end time stands from here, also while the error box is open.
    TimerRun->stop();
    const bool success = poll_.outcome() == StatusPoll::Outcome::Success;
    LabelTitle->setText(success ? kSucceeded : kFailed);
    LabelEndTimeTitle->setText(QStringLiteral("End Time:"));
    CommandQuit->setText(QStringLiteral("OK"));
    if (success && !poll_.warningLines().isEmpty()) {
        QStringList shown = poll_.warningLines();
        if (poll_.leftOutLines() > 0) shown << leftOutLine("warning", "warnings");
        LabelWarnings->setText(shown.join(QLatin1Char('\n')));
        // The monitor grows by the lines, about its centre, so that each
        // warning stands on one line unless it is wider than most of the
        // screen.
        int widest = 0;
        for (const QString& line : shown)
            widest = std::max(widest, LabelWarnings->fontMetrics().horizontalAdvance(line));
        const int most = screen() ? screen()->availableGeometry().width() * 3 / 4 : widest + 80;
        LabelWarnings->setWordWrap(widest + 80 > most);
        setMinimumWidth(std::max(minimumWidth(), std::min(widest + 80, most)));
        LabelWarnings->show();
        const QPoint centre = geometry().center();
        adjustSize();
        move(pos() + centre - geometry().center());
    }
    if (poll_.endedWithoutResult()) writeStatus(StatusPoll::kEndedWithoutResultLine);
    if (!success) {
        QStringList shown = poll_.errorLines();
        if (poll_.leftOutLines() > 0) shown << leftOutLine("line", "lines");
        services_.message(shown.join(QLatin1Char('\r')), QString(), MsgIcon::Critical, MsgButtons::Ok);
    }
}

QString FormTimer::leftOutLine(const char* one, const char* many) const {
    const int n = poll_.leftOutLines();
    return QStringLiteral("%1%2 more %3 in %4.")
        .arg(poll_.leftOutAtLeast() ? QStringLiteral("At least ") : QString())
        .arg(n)
        .arg(n == 1 ? QLatin1String(one) + QStringLiteral(" is") : QLatin1String(many) + QStringLiteral(" are"))
        .arg(statusFile_);
}

void FormTimer::CommandQuit_Click() {
    // Escape or the close box while the engine is going changes nothing.
    if (TimerStop->isActive()) return;
    const bool stopping = poll_.outcome() == StatusPoll::Outcome::Running;
    closeEngineWindows(services_, run_);
    TimerRun->stop();
    if (!stopping) {
        accept();
        return;
    }
    // The engine's files end wherever it was, and " start" would read as a
    // run still going; what stays is a run that the user stopped, written
    // once the engine can no longer write.  Meanwhile the window lives on.
    CommandQuit->setEnabled(false);
    stopStart_ = services_.timeOfDay();
    TimerStop->start(kStopPollMs);
    TimerStop_Timer();
}

void FormTimer::TimerStop_Timer() {
    const bool gone = run_.engineTaskId <= 0 || !services_.engineRunning(run_.engineTaskId, run_.engineProgram);
    // The clock shows the time of day: a wait across midnight goes on counting.
    constexpr int kDayMs = 24 * 60 * 60 * 1000;
    const int waited = (stopStart_.msecsTo(services_.timeOfDay()) + kDayMs) % kDayMs;
    if (!gone && waited < kStopWaitMs) return;
    TimerStop->stop();
    writeStatus(StatusPoll::kStoppedByUserLine);
    accept();
}

void FormTimer::writeStatus(const QString& line) {
    const StatusRead first = readStatusFile(statusFile_, 1);
    if (first.status == StatusRead::Status::Read && !first.lines.isEmpty() &&
        first.lines.front() == QLatin1String(" end"))
        return;
    QString why;
    if (!writeStatusLine(statusFile_, line, &why))
        services_.message(QStringLiteral("The status file %1 could not be written.").arg(statusFile_), why,
                          MsgIcon::Critical, MsgButtons::Ok);
}

void FormTimer::reject() { CommandQuit_Click(); }

}  // namespace vormgui
