#include "FormTextOutput.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSaveFile>

#include "shell/mayReplaceFile.h"
#include "shell/showHelpPage.h"
#include "widgets/Twips.h"
#include "widgets/printText.h"

namespace vormgui {

namespace {

// The text box stands 225 twips short of the client area's width and 570
// short of its height, and the buttons 465 above its bottom.  Against the
// window's outside (350 and 1260 short) that puts the frame at 125 by 690,
// so the smallest window, 3000 by 2000 outside, leaves this much inside.
constexpr int kTextWidthShort = 225;
constexpr int kTextHeightShort = 570;
constexpr int kButtonsAboveBottom = 465;
constexpr int kMinClientWidth = 3000 - 125;
constexpr int kMinClientHeight = 2000 - 690;

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QAction* entry(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

FormTextOutput::FormTextOutput(const TextOutputKind& kind, Services& services, const QString& helpDir, QWidget* parent)
    : QDialog(parent), kind_(kind), services_(services), helpDir_(helpDir) {
    setObjectName(QString::fromLatin1(kind.formName));
    setWindowTitle(QString::fromLatin1(kind.caption));

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuSaveItem = entry(mnuFile, "mnuSaveItem", "&Save");
    mnuSaveItem->setEnabled(false);
    mnuSaveAsItem = entry(mnuFile, "mnuSaveAsItem", kind.saveAsCaption);
    mnuPrintItem = entry(mnuFile, "mnuPrintItem", "&Print");
    mnuCloseItem = entry(mnuFile, "mnuCloseItem", "&Close");

    TextContent = new QPlainTextEdit(this);
    TextContent->setObjectName(QStringLiteral("TextContent"));
    // The reader may mark up or cut the text before saving or printing it;
    // the engine's file stays as it was.
    TextContent->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    TextContent->setFont(font);

    CommandOK = button(this, "CommandOK", "OK");
    CommandHelp = button(this, "CommandHelp", "Help");

    connect(CommandOK, &QPushButton::clicked, this, &FormTextOutput::CommandOK_Click);
    connect(CommandHelp, &QPushButton::clicked, this, &FormTextOutput::CommandHelp_Click);
    connect(mnuSaveAsItem, &QAction::triggered, this, &FormTextOutput::mnuSaveAsItem_Click);
    connect(mnuPrintItem, &QAction::triggered, this, &FormTextOutput::mnuPrintItem_Click);
    connect(mnuCloseItem, &QAction::triggered, this, &FormTextOutput::mnuCloseItem_Click);

    CommonDialogOutput.title = QStringLiteral("Save As");
    const int menuHeight = menuBar->sizeHint().height();
    setMinimumSize(twips(*this, kMinClientWidth), twips(*this, kMinClientHeight) + menuHeight);
    resize(twips(*this, kind.clientWidth), twips(*this, kind.clientHeight) + menuHeight);
}

FormTextOutput::~FormTextOutput() = default;

void FormTextOutput::setContent(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TextContent->setPlainText(text);
}

void FormTextOutput::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isMinimized()) return;
    // A window manager keeps the window at its least size; without one a
    // user can drag it smaller, and it snaps back, its buttons laid out
    // inside the least size meanwhile.
    const QSize shown = size().expandedTo(minimumSize());
    if (shown != size()) resize(shown);
    const int top = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, shown.width(), top);
    const int clientWidth = shown.width();
    const int clientHeight = shown.height() - top;
    TextContent->setGeometry(twips(*this, 120), top, clientWidth - twips(*this, kTextWidthShort),
                             clientHeight - twips(*this, kTextHeightShort));
    const int buttonsY = top + clientHeight - twips(*this, kButtonsAboveBottom);
    CommandOK->setGeometry(twips(*this, kind_.okX), buttonsY, twips(*this, 1095), twips(*this, 375));
    CommandHelp->setGeometry(twips(*this, kind_.helpX), buttonsY, twips(*this, 1095), twips(*this, 375));
}

void FormTextOutput::closeEvent(QCloseEvent* event) {
    closedByCloseBox_ = true;
    QDialog::closeEvent(event);
}

void FormTextOutput::CommandOK_Click() { hide(); }

void FormTextOutput::mnuCloseItem_Click() { hide(); }

void FormTextOutput::CommandHelp_Click() { showHelpPage(services_, helpDir_, QString::fromLatin1(kind_.helpPage)); }

void FormTextOutput::mnuPrintItem_Click() { printReport(services_, TextContent->toPlainText()); }

void FormTextOutput::mnuSaveAsItem_Click() {
    CommonDialogOutput.filter = QStringLiteral("All Files (*)");
    if (!services_.chooseSaveFile(CommonDialogOutput)) return;
    // A file of that name may be the reader's own: it is replaced only on Yes.
    if (!mayReplaceFile(services_, CommonDialogOutput.fileName, QStringLiteral("VORM2004"))) return;
    // The text as the box holds it, edits and all, and one more line end.
    // It goes through a temporary file where the folder allows one, so that
    // a failed write leaves an existing file of that name as it was.
    const QByteArray bytes = TextContent->toPlainText().toUtf8() + "\r\n";
    QSaveFile out(CommonDialogOutput.fileName);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        services_.message(QStringLiteral("The file %1 could not be written.").arg(CommonDialogOutput.fileName),
                          out.errorString(), MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace vormgui
