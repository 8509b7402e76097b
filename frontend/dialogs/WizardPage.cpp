#include "WizardPage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "Grid.h"
#include "UpDown.h"
#include "platform/Services.h"
#include "shell/mGlobalVariables.h"
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

// The buttons were made before the page's own controls; the user should meet
// the controls first, and the first of them has the focus when a page opens.
void WizardPage::showEvent(QShowEvent* event) {
    if (!tabOrderSet_) {
        tabOrderSet_ = true;
        const QList<QWidget*> buttons{CommandOK, CommandCancel, CommandHelp, CommandNext};
        QList<QWidget*> chain;
        for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
            if (!buttons.contains(w)) chain << w;
        for (QWidget* b : buttons)
            if (b) chain << b;
        for (qsizetype k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
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

WizardPage::YesNo WizardPage::yesNoFrame(const char* frameName, const QString& caption, const char* suffix) {
    YesNo q;
    q.frame = frame(frameName, caption);
    q.group = optionGroup();
    const QByteArray end(suffix);
    q.yes = option(("OptionYes" + end).constData(), QString(), q.group, q.frame);
    q.yesLabel = label(("LabelYes" + end).constData(), QStringLiteral("Yes"), q.frame);
    q.no = option(("OptionNo" + end).constData(), QString(), q.group, q.frame);
    q.noLabel = label(("LabelNo" + end).constData(), QStringLiteral("No"), q.frame);
    auto* row = new QHBoxLayout(q.frame);
    row->addWidget(q.yes);
    row->addWidget(q.yesLabel);
    row->addSpacing(24);
    row->addWidget(q.no);
    row->addWidget(q.noLabel);
    row->addStretch();
    return q;
}

Grid* WizardPage::grid() {
    auto* g = new Grid(this);
    // Room for the row numbers, the value column and the scroll bar; the
    // value column takes what is left.
    g->setFixedSize(twipsToPixels(2200, *this), twipsToPixels(2700, *this));
    return g;
}

QComboBox* WizardPage::comboEditor(const QStringList& list) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("Combo1"));
    combo->setEditable(true);
    combo->addItems(list);
    combo->setEditText(QString());
    return combo;
}

QLineEdit* WizardPage::textEditor() {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QStringLiteral("txtGridEdit"));
    return editor;
}

void addNumberRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* box, UpDown* spin) {
    box->setFixedWidth(80);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    if (spin) grid->addWidget(spin, row, 2, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
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
