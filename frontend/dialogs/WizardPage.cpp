#include "WizardPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "UpDown.h"
#include "core/mGlobalVariables.h"
#include "platform/Services.h"
#include "shell/showHelpPage.h"

namespace vormgui {

const QString WizardPage::kError = QStringLiteral("Error!");
const QString WizardPage::kWarning = QStringLiteral("Warning!");
const QString WizardPage::kInconsistentCutoffs = QStringLiteral(
    "The response cutoff for some item is inconsistent with the number of response categories for that item!!");

namespace {

QPushButton* button(QWidget* page, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), page);
    b->setObjectName(QString::fromLatin1(name));
    // Enter in a box must not press a button behind the user's back.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace

WizardPage::WizardPage(const PageContext& context, const char* name, const char* title, const char* helpPage,
                       NextButton next, const char* nextCaption)
    : QDialog(context.owner),
      services_(context.services),
      job_(context.job),
      pages_(context.pages),
      helpPage_(QString::fromLatin1(helpPage)) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromLatin1(title));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    body_ = new QGridLayout;
    body_->setHorizontalSpacing(10);
    outer->addLayout(body_);
    outer->addSpacing(10);
    auto* buttons = new QHBoxLayout;
    outer->addLayout(buttons);

    CommandOK = button(this, "CommandOK", "OK");
    CommandCancel = button(this, "CommandCancel", "Cancel");
    CommandHelp = button(this, "CommandHelp", "Help");
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    buttons->addWidget(CommandHelp);
    if (next != NextButton::None) {
        CommandNext = button(this, "CommandNext", nextCaption);
        CommandNext->setEnabled(next == NextButton::Shown);
        buttons->addSpacing(16);
        buttons->addWidget(CommandNext);
        connect(CommandNext, &QPushButton::clicked, this, [this] { CommandNext_Click(); });
    }
    connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
    connect(CommandCancel, &QPushButton::clicked, this, [this] { CommandCancel_Click(); });
    connect(CommandHelp, &QPushButton::clicked, this, [this] { CommandHelp_Click(); });
}

void WizardPage::press(Press press) {
    commitEditor();
    if (const std::optional<Failure> failure = check(press)) {
        fail(*failure);
        return;
    }
    proceed(press);
}

void WizardPage::proceed(Press press) {
    store();
    hide();
    if (press == Press::Next)
        if (WizardPage* next = nextPage()) showPage(*next);
}

void WizardPage::CommandCancel_Click() {
    discardEditor();
    restore();
    hide();
    afterCancel();
}

void WizardPage::CommandHelp_Click() { showHelpPage(services_, job_.helpDir, helpPage_); }

// The buttons were made before the page's own controls, so they lead the tab
// order; a page opens with the focus on its first control instead, as Tab
// would find it (the set button of an option group).
void WizardPage::showEvent(QShowEvent* event) {
    const QList<QWidget*> buttons{CommandOK, CommandCancel, CommandHelp, CommandNext};
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (buttons.contains(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this))
            continue;
        const auto* option = qobject_cast<QRadioButton*>(w);
        if (option && !option->isChecked() && option->group() && option->group()->checkedButton()) continue;
        w->setFocus(Qt::TabFocusReason);
        break;
    }
    QDialog::showEvent(event);
}

void WizardPage::showPage(WizardPage& page) { services_.showModal(page); }

void WizardPage::fail(const Failure& failure) {
    services_.message(failure.text, failure.title, MsgIcon::Exclamation, MsgButtons::Ok);
}

bool WizardPage::consistentOrWarn() {
    if (cutoffsConsistent(job_)) return true;
    fail({kInconsistentCutoffs, kWarning});
    return false;
}

QLabel* WizardPage::label(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent ? parent : this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* WizardPage::box(const char* name, QWidget* parent) {
    auto* b = new QLineEdit(parent ? parent : this);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QRadioButton* WizardPage::option(const char* name, const QString& caption, QButtonGroup* group, QWidget* parent) {
    auto* o = new QRadioButton(caption, parent ? parent : this);
    o->setObjectName(QString::fromLatin1(name));
    group->addButton(o);
    return o;
}

QGroupBox* WizardPage::frame(const char* name, const QString& caption) {
    auto* f = new QGroupBox(caption, this);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

QButtonGroup* WizardPage::optionGroup() { return new QButtonGroup(this); }

QGroupBox* WizardPage::yesNoFrame(const char* frameName, const QString& caption, QRadioButton*& yes, QLabel*& yesLabel,
                                  QRadioButton*& no, QLabel*& noLabel, const char* suffix) {
    QGroupBox* question = frame(frameName, caption);
    QButtonGroup* group = optionGroup();
    const QByteArray end(suffix);
    yes = option(("OptionYes" + end).constData(), QString(), group, question);
    yesLabel = label(("LabelYes" + end).constData(), QStringLiteral("Yes"), question);
    no = option(("OptionNo" + end).constData(), QString(), group, question);
    noLabel = label(("LabelNo" + end).constData(), QStringLiteral("No"), question);
    auto* row = new QHBoxLayout(question);
    row->addWidget(yes);
    row->addWidget(yesLabel);
    row->addSpacing(24);
    row->addWidget(no);
    row->addWidget(noLabel);
    row->addStretch();
    return question;
}

void addNumberRow(QGridLayout* grid, int row, QWidget* label, QLineEdit* box, UpDown* spin) {
    box->setFixedWidth(80);
    auto* number = new QHBoxLayout;
    number->setSpacing(1);
    number->addWidget(box);
    if (spin) number->addWidget(spin);
    number->addStretch();
    grid->addWidget(label, row, 0);
    grid->addLayout(number, row, 1);
    grid->setColumnStretch(2, 1);
}

void choose(QRadioButton* option) {
    option->setChecked(true);
    emit option->clicked(true);
}

void clearChoice(QButtonGroup* group) {
    // An exclusive group keeps one button checked.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

std::optional<bool> choice(const QRadioButton* first, const QRadioButton* second) {
    if (first->isChecked()) return true;
    if (second->isChecked()) return false;
    return std::nullopt;
}

}  // namespace vormgui
