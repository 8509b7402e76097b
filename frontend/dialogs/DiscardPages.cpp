#include "DiscardPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

#include "JobPages.h"
#include "ReadDataPages.h"
#include "UpDown.h"
#include "core/Limits.h"
#include "core/mGlobalVariables.h"
#include "platform/Numbers.h"

namespace vormgui {

const QString kItemCountInvalid =
    QStringLiteral("The number of items to discard must be a whole number from 1 to 100!");
const QString kSubjectCountInvalid =
    QStringLiteral("The number of respondents to discard must be a whole number from 1 to 2000!");
const QString kSubjectIdOutOfRange = QStringLiteral("Input Error! Respondent IDs must be whole numbers from %1 to %2!")
                                         .arg(limits::kMinSubjectId)
                                         .arg(limits::kMaxSubjectId);

namespace {

// The count that a No stores: the greyed-out box's, unless it holds no
// valid count, which keeps the one stored before.
std::int16_t keptCount(std::optional<int> boxCount, std::int16_t stored) {
    return boxCount ? static_cast<std::int16_t>(*boxCount) : stored;
}

// The count box with its spin button and label below a yes/no frame.
void layOut(QGridLayout* body, QGroupBox* frame, QLabel* label, QLineEdit* box, UpDown* spin) {
    body->addWidget(frame, 0, 0, 1, 3);
    addNumberRow(body, 1, label, box, spin);
}

}  // namespace

FormDeleteItems::FormDeleteItems(const PageContext& context)
    : WizardPage(context, "FormDeleteItems", "Delete Items", "DeleteItems.htm") {
    FrameDiscardItems =
        yesNoFrame("FrameDiscardItems", QStringLiteral("Discard any Items?"), OptionYes, LabelYes, OptionNo, LabelNo);
    LabelNumberOfItemsToDiscard = label("LabelNumberOfItemsToDiscard", QStringLiteral("Number of items to discard"));
    TextNumberOfItemsToDiscard = box("TextNumberOfItemsToDiscard");
    UpDownNumberOfItemsToDiscard = new UpDown(QStringLiteral("UpDownNumberOfItemsToDiscard"),
                                              *TextNumberOfItemsToDiscard, limits::kItemsToDiscard, this);
    layOut(body(), FrameDiscardItems, LabelNumberOfItemsToDiscard, TextNumberOfItemsToDiscard,
           UpDownNumberOfItemsToDiscard);
    connect(OptionYes, &QRadioButton::clicked, this, &FormDeleteItems::OptionYes_Click);
    connect(OptionNo, &QRadioButton::clicked, this, &FormDeleteItems::OptionNo_Click);
    choose(OptionNo);
    TextNumberOfItemsToDiscard->setText(QStringLiteral("1"));
}

void FormDeleteItems::newJob(const JobSettings& job) {
    choose(OptionNo);
    TextNumberOfItemsToDiscard->setText(boxText(job.numItemsToDiscard));
}

void FormDeleteItems::setCount(int count) { UpDownNumberOfItemsToDiscard->setBoxValue(count); }

void FormDeleteItems::enableCount(bool enabled) {
    TextNumberOfItemsToDiscard->setEnabled(enabled);
    UpDownNumberOfItemsToDiscard->setEnabled(enabled);
}

void FormDeleteItems::OptionYes_Click() {
    if (pages_.itemDef->itemsText().isEmpty()) {
        error(QStringLiteral("Please define number of items first!"));
        choose(OptionNo);
        return;
    }
    enableCount(true);
}

void FormDeleteItems::OptionNo_Click() { enableCount(false); }

std::optional<WizardPage::Failure> FormDeleteItems::check(Press press) {
    const std::optional<bool> yes = discard();
    if (!yes) return Failure{QStringLiteral("Please indicate whether you would discard item or not!")};
    // With No the count box is greyed out: the user cannot mend it, so it is
    // not checked.
    if (!*yes) return std::nullopt;
    const QString text = TextNumberOfItemsToDiscard->text();
    if (text.isEmpty()) return Failure{QStringLiteral("Please fill the number of items to be discarded!")};
    const std::optional<int> count = parseCount(text, limits::kItemsToDiscard);
    if (!count) return Failure{kItemCountInvalid};
    if (*count >= job_.numItems)
        return Failure{QStringLiteral("Number of deleted items should be smaller than that of total items!")};
    if (press == Press::Ok)
        return Failure{QStringLiteral("Please press next button to indicate the items to be discarded!")};
    return std::nullopt;
}

void FormDeleteItems::proceed(Press press) {
    const std::optional<int> count = parseCount(TextNumberOfItemsToDiscard->text(), limits::kItemsToDiscard);
    hide();
    if (OptionYes->isChecked()) {
        // The box holds the count as the list's page and the job file take it.
        TextNumberOfItemsToDiscard->setText(QString::number(*count));
        pages_.itemsDiscarded->setDataRows(*count);
        showPage(*pages_.itemsDiscarded);
        return;
    }
    job_.discardItems = false;
    job_.numItemsToDiscard = keptCount(count, job_.numItemsToDiscard);
    TextNumberOfItemsToDiscard->setText(boxText(std::max<int>(job_.numItemsToDiscard, 1)));
    if (press == Press::Next) showPage(*pages_.deleteSubjects);
}

void FormDeleteItems::restore() {
    setDiscard(job_.discardItems);
    setCount(std::max<int>(job_.numItemsToDiscard, 1));
}

FormItemsDiscarded::FormItemsDiscarded(const PageContext& context)
    : GridPage(context, "FormItemsDiscarded", "Choose Items to Delete", "DiscardItems.htm") {
    txtGridEdit = textEditor();
    body()->addWidget(grd, 0, 0, Qt::AlignHCenter);
}

void FormItemsDiscarded::newJob(const JobSettings&) { emptyRows(1); }

std::optional<WizardPage::Failure> FormItemsDiscarded::check(Press press) {
    const std::optional<int> count = parseCount(pages_.deleteItems->countText(), limits::kItemsToDiscard);
    if (!count) return Failure{kItemCountInvalid};
    const int items = parseCount(pages_.itemDef->itemsText()).value_or(job_.numItems);
    // The grid has one row per discarded item (the question page sized it).
    for (int k = 1; k <= *count; ++k) {
        switch (cellCount(grd->textMatrix(k, 1), Range{1, items}).fault) {
            case CellCount::NotANumber:
                return Failure{QStringLiteral("Input Error! Please input a number!")};
            case CellCount::OutOfRange: {
                // The item count stands where a sign would: " 5" for 5.
                const QString shown = items < 0 ? QString::number(items) : QStringLiteral(" %1").arg(items);
                return Failure{press == Press::Ok
                                   ? QStringLiteral("Input Error! The numbers should be between 1 and ") + shown + "."
                                   : QStringLiteral("Input Error! The number should be between 1 and number of items")};
            }
            case CellCount::NotWhole:
                return Failure{QStringLiteral("Input Error! Please input an integer!")};
            case CellCount::None:
                break;
        }
    }
    return std::nullopt;
}

void FormItemsDiscarded::store() {
    const int count = *parseCount(pages_.deleteItems->countText(), limits::kItemsToDiscard);
    job_.numItemsToDiscard = static_cast<std::int16_t>(count);
    storeRows(job_.itemsToDiscard, count);
    job_.discardItems = true;
}

WizardPage* FormItemsDiscarded::nextPage() { return pages_.deleteSubjects; }

void FormItemsDiscarded::restore() {
    pages_.deleteItems->setDiscard(job_.discardItems);
    if (!job_.discardItems) return;
    pages_.deleteItems->setCount(job_.numItemsToDiscard);
    showRows(job_.itemsToDiscard, job_.numItemsToDiscard);
}

FormDeleteSubjects::FormDeleteSubjects(const PageContext& context)
    : WizardPage(context, "FormDeleteSubjects", "Delete Respondents", "DeleteSubjects.htm") {
    FrameDiscardAnyPeople = yesNoFrame("FrameDiscardAnyPeople", QStringLiteral("Discard any respondents?"), OptionYes,
                                       LabelYes, OptionNo, LabelNo);
    LabelNumberOfRespondentsToDiscard =
        label("LabelNumberOfRespondentsToDiscard", QStringLiteral("Number of respondents to discard"));
    TextNumberOfSubjectsToDiscard = box("TextNumberOfSubjectsToDiscard");
    // The arrows stop short of what may be typed (limits::kSubjectsToDiscard).
    UpDownNumberOfSubjectsToDiscard =
        new UpDown(QStringLiteral("UpDownNumberOfSubjectsToDiscard"), *TextNumberOfSubjectsToDiscard, 1, 100, this);
    layOut(body(), FrameDiscardAnyPeople, LabelNumberOfRespondentsToDiscard, TextNumberOfSubjectsToDiscard,
           UpDownNumberOfSubjectsToDiscard);
    connect(OptionYes, &QRadioButton::clicked, this, &FormDeleteSubjects::OptionYes_Click);
    connect(OptionNo, &QRadioButton::clicked, this, &FormDeleteSubjects::OptionNo_Click);
    choose(OptionNo);
    TextNumberOfSubjectsToDiscard->setText(QStringLiteral("1"));
}

void FormDeleteSubjects::newJob(const JobSettings& job) {
    choose(OptionNo);
    TextNumberOfSubjectsToDiscard->setText(boxText(job.numSubjectsToDiscard));
}

void FormDeleteSubjects::enableCount(bool enabled) {
    TextNumberOfSubjectsToDiscard->setEnabled(enabled);
    UpDownNumberOfSubjectsToDiscard->setEnabled(enabled);
    CommandNext->setEnabled(enabled);
}

void FormDeleteSubjects::Form_Activate() { CommandNext->setEnabled(OptionYes->isChecked()); }

void FormDeleteSubjects::showEvent(QShowEvent* event) {
    WizardPage::showEvent(event);
    Form_Activate();
}

std::optional<WizardPage::Failure> FormDeleteSubjects::check(Press press) {
    const std::optional<bool> yes = discard();
    const QString text = TextNumberOfSubjectsToDiscard->text();
    if (press == Press::Next) {
        // Next is there only while Yes is chosen.
        if (yes != true) return std::nullopt;
    } else if (!yes) {
        return Failure{QStringLiteral("Please indicate whether you want to discard people or not!")};
    } else if (*yes && !text.isEmpty()) {
        return Failure{QStringLiteral("Please press next button to fill indices of people to be discarded!"), kWarning};
    }
    // With No the count box is greyed out: the user cannot mend it, so it is
    // not checked.
    if (!*yes) return std::nullopt;
    if (text.isEmpty()) return Failure{QStringLiteral("Please fill the number of people to be discarded!")};
    if (!parseCount(text, limits::kSubjectsToDiscard)) return Failure{kSubjectCountInvalid};
    return std::nullopt;
}

void FormDeleteSubjects::proceed(Press press) {
    if (press == Press::Next && !OptionYes->isChecked()) return;
    const std::optional<int> count = parseCount(TextNumberOfSubjectsToDiscard->text(), limits::kSubjectsToDiscard);
    hide();
    if (press == Press::Next) {
        // The box holds the count as the list's page and the job file take it.
        TextNumberOfSubjectsToDiscard->setText(QString::number(*count));
        pages_.subjectsDiscarded->setDataRows(*count);
        showPage(*pages_.subjectsDiscarded);
        return;
    }
    job_.discardSubjects = false;
    job_.numSubjectsToDiscard = keptCount(count, job_.numSubjectsToDiscard);
    TextNumberOfSubjectsToDiscard->setText(boxText(std::max<int>(job_.numSubjectsToDiscard, 1)));
}

void FormDeleteSubjects::restore() {
    setDiscard(job_.discardSubjects);
    UpDownNumberOfSubjectsToDiscard->setBoxValue(std::max<int>(job_.numSubjectsToDiscard, 1));
}

FormSubjectsDiscarded::FormSubjectsDiscarded(const PageContext& context)
    : GridPage(context, "FormSubjectsDiscarded", "Choose Respondents to Delete", "DiscardPeople.htm",
               NextButton::Disabled) {
    txtGridEdit = textEditor();
    body()->addWidget(grd, 0, 0, Qt::AlignHCenter);
}

void FormSubjectsDiscarded::newJob(const JobSettings&) { emptyRows(1); }

std::optional<WizardPage::Failure> FormSubjectsDiscarded::check(Press) {
    const std::optional<int> count = parseCount(pages_.deleteSubjects->countText(), limits::kSubjectsToDiscard);
    if (!count) return Failure{kSubjectCountInvalid};
    for (int k = 1; k <= *count; ++k) {
        const CellCount id = cellWhole(grd->textMatrix(k, 1), limits::kMinSubjectId, limits::kMaxSubjectId);
        if (id.fault == CellCount::OutOfRange) return Failure{kSubjectIdOutOfRange};
        if (id.fault != CellCount::None)
            return Failure{QStringLiteral("Input Error! Please input only integers in the table!")};
    }
    return std::nullopt;
}

void FormSubjectsDiscarded::store() {
    const int count = *parseCount(pages_.deleteSubjects->countText(), limits::kSubjectsToDiscard);
    job_.discardSubjects = true;
    job_.numSubjectsToDiscard = static_cast<std::int16_t>(count);
    storeRows(job_.subjectsToDiscard, count);
}

void FormSubjectsDiscarded::restore() {
    pages_.deleteSubjects->setDiscard(job_.discardSubjects);
    if (!job_.discardSubjects) return;
    pages_.deleteSubjects->setCountText(boxText(job_.numSubjectsToDiscard));
    showRows(job_.subjectsToDiscard, job_.numSubjectsToDiscard);
}

}  // namespace vormgui
