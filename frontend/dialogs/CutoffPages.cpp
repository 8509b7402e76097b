#include "CutoffPages.h"

#include <QGridLayout>
#include <algorithm>

#include "DiscardPages.h"
#include "JobPages.h"
#include "ReadDataPages.h"
#include "UpDown.h"
#include "core/mGlobalVariables.h"
#include "mGridEdit.h"
#include "platform/Numbers.h"

namespace vormgui {

namespace {

// "st", "nd", "rd" or "th" after an item number (11th, 12th and 13th too).
const char* ordinalSuffix(int n) {
    if (n % 100 >= 11 && n % 100 <= 13) return "th";
    switch (n % 10) {
        case 1:
            return "st";
        case 2:
            return "nd";
        case 3:
            return "rd";
        default:
            return "th";
    }
}

}  // namespace

FormCategories::FormCategories(const PageContext& context)
    : GridPage(context, "FormCategories", "Response Category Definitions", "ResponseCat.htm") {
    QStringList list;
    for (int c = limits::kCategories.low; c <= limits::kCategories.high; ++c) list << QString::number(c);
    Combo1 = comboEditor(list);
    body()->addWidget(grd, 0, 0, Qt::AlignHCenter);
}

void FormCategories::newJob(const JobSettings&) { emptyRows(2); }

void FormCategories::showStoredCategories() { showRows(job_.numCategories, job_.numItems); }

std::optional<WizardPage::Failure> FormCategories::check(Press) {
    const std::optional<int> items = itemCount(pages_.itemDef->itemsText());
    if (!items) return Failure{kItemsInvalid};
    if (*items > kMaxItems) return Failure{kTooManyItems};
    // The grid has one row per item (the item definitions page sized it).
    for (int i = 1; i <= *items; ++i) {
        switch (cellCount(grd->textMatrix(i, 1), limits::kCategories).fault) {
            case CellCount::NotANumber:
                return Failure{QStringLiteral("Input Error! Each number of categories must be a number!")};
            case CellCount::OutOfRange:
                return Failure{QStringLiteral("Input Error! Each number of categories should be between 2 and 10 ")};
            case CellCount::NotWhole:
                return Failure{QStringLiteral("Input Error! Each number of categories must be an integer!")};
            case CellCount::None:
                break;
        }
    }
    return std::nullopt;
}

void FormCategories::proceed(Press press) {
    hide();
    const int items = *itemCount(pages_.itemDef->itemsText());
    job_.categoriesConstant = false;
    job_.numItems = static_cast<std::int16_t>(items);
    pages_.cutoff->setDataRows(items);
    storeRows(job_.numCategories, items);
    if (consistentOrWarn() && press == Press::Next) showPage(*pages_.cutoff);
}

void FormCategories::restore() { pages_.itemDef->restore(); }

FormCutoff::FormCutoff(const PageContext& context)
    : GridPage(context, "FormCutoff", "Response Cutoffs", "ResponseCutoffs.htm") {
    QButtonGroup* group = optionGroup();
    OptionConstant = option("OptionConstant", QStringLiteral("Constant"), group);
    TextCutOff = box("TextCutOff");
    UpDownCutoff = new UpDown(QStringLiteral("UpDownCutoff"), *TextCutOff, 0, limits::kCategories.high - 1, this);
    OptionVariable = option("OptionVariable", QStringLiteral("Variable"), group);
    Combo1 = comboEditor({});
    editor->afterDoubleClick = [this] { grd_DblClick(); };
    // The box and the grid take turns; the page keeps its size.
    for (QWidget* w : std::initializer_list<QWidget*>{TextCutOff, UpDownCutoff, grd}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    addNumberRow(body(), 0, OptionConstant, TextCutOff, UpDownCutoff);
    body()->addWidget(OptionVariable, 1, 0);
    body()->addWidget(grd, 2, 0, 1, 3, Qt::AlignHCenter);
    connect(OptionConstant, &QRadioButton::clicked, this, &FormCutoff::OptionConstant_Click);
    connect(OptionVariable, &QRadioButton::clicked, this, &FormCutoff::OptionVariable_Click);
    choose(OptionConstant);
}

void FormCutoff::newJob(const JobSettings& job) {
    choose(OptionConstant);
    TextCutOff->setText(boxText(job.responseCutoff[0]));
    emptyRows(job.numItems);
}

void FormCutoff::setCutoffConstant(bool constant) {
    (constant ? OptionConstant : OptionVariable)->setChecked(true);
    showMode(constant);
}

void FormCutoff::showMode(bool constant) {
    TextCutOff->setVisible(constant);
    UpDownCutoff->setVisible(constant);
    grd->setVisible(!constant);
    if (constant) editor->discard();
}

void FormCutoff::OptionConstant_Click() { showMode(true); }

void FormCutoff::OptionVariable_Click() {
    if (pages_.itemDef->itemsText().isEmpty()) {
        error(QStringLiteral("Please define number of items first!"));
        choose(OptionConstant);
        return;
    }
    listCutoffs(std::nullopt);
    showMode(false);
    if (pages_.itemDef->categoriesConstant() == true) listCutoffs(parseCount(pages_.itemDef->categoriesText()));
}

void FormCutoff::listCutoffs(std::optional<int> categories) {
    const QString shown = Combo1->currentText();
    Combo1->clear();
    // A number of categories outside what a job can have lists nothing.
    if (categories && *categories >= 1 && *categories <= limits::kCategories.high)
        for (int c = 0; c < *categories; ++c) Combo1->addItem(QString::number(c));
    Combo1->setEditText(shown);
}

void FormCutoff::grd_DblClick() {
    const std::optional<bool> constant = pages_.itemDef->categoriesConstant();
    if (!constant) {
        error(QStringLiteral("Please define item first! "));
        return;
    }
    if (*constant) {
        listCutoffs(parseCount(pages_.itemDef->categoriesText()));
        return;
    }
    const int row = grd->currentDataRow();
    const std::optional<int> items = itemCount(pages_.itemDef->itemsText());
    std::optional<int> categories;
    if (items && row <= *items) categories = parseCount(pages_.categories->values().value(row - 1));
    listCutoffs(categories);
}

std::optional<WizardPage::Failure> FormCutoff::check(Press) {
    if (OptionConstant->isChecked()) {
        // The fewest categories of any item bound the constant cutoff.
        int fewest = limits::kCategories.high;
        if (pages_.itemDef->categoriesConstant() == true) {
            fewest = parseCount(pages_.itemDef->categoriesText()).value_or(job_.numCategories[0]);
        } else {
            const QStringList categories = pages_.categories->values();
            for (int i = 1; i <= job_.numItems && i <= categories.size(); ++i)
                if (const std::optional<int> c = parseCount(categories[i - 1])) fewest = std::min<int>(fewest, *c);
        }
        if (TextCutOff->text().isEmpty())
            return Failure{QStringLiteral("Please fill in the constant response cutoff!")};
        const std::optional<int> cutoff = parseCount(TextCutOff->text());
        if (!cutoff || *cutoff >= fewest || *cutoff < 0)
            return Failure{QStringLiteral("The response cutoff must be between 0 and ") + messageNumber(fewest - 1)};
        return std::nullopt;
    }
    if (!OptionVariable->isChecked())
        return Failure{QStringLiteral("Please indicate the response cutoff is constant or not!")};
    return checkPerItem();
}

// Each cutoff is a count (core/Limits.h) below its item's categories.
std::optional<WizardPage::Failure> FormCutoff::checkPerItem() {
    if (job_.numItems > kMaxItems) return Failure{kTooManyItems};
    const int items = job_.numItems;
    for (int i = 1; i <= items; ++i)
        if (grd->textMatrix(i, 1).isEmpty()) return Failure{QStringLiteral("Please fill the empty text cells!")};
    const std::optional<bool> constant = pages_.itemDef->categoriesConstant();
    const QStringList categories = pages_.categories->values();
    for (int i = 1; i <= items; ++i) {
        const std::optional<int> cutoff = parseCount(grd->textMatrix(i, 1));
        if (constant == false) {
            if (!cutoff || *cutoff >= job_.numCategories[i] || *cutoff < 0) {
                const int shown = parseCount(categories.value(i - 1)).value_or(job_.numCategories[i]);
                return Failure{QStringLiteral("The %1%2 response cutoff must be between 0 and %3")
                                   .arg(i)
                                   .arg(QLatin1String(ordinalSuffix(i)))
                                   .arg(messageNumber(shown - 1))};
            }
        } else if (constant == true) {
            if (!cutoff || *cutoff >= job_.numCategories[0] || *cutoff < 0) {
                const int shown = parseCount(pages_.itemDef->categoriesText()).value_or(job_.numCategories[0]);
                return Failure{QStringLiteral("Each response cutoff must be between 0 and ") +
                               messageNumber(shown - 1)};
            }
        } else if (!cutoff) {
            return Failure{QStringLiteral("Input Error! Each response cutoff must be a number!")};
        }
    }
    return std::nullopt;
}

void FormCutoff::store() {
    if (OptionConstant->isChecked()) {
        job_.cutoffConstant = true;
        job_.responseCutoff[0] = static_cast<std::int16_t>(*parseCount(TextCutOff->text()));
        TextCutOff->setText(boxText(job_.responseCutoff[0]));
        return;
    }
    job_.cutoffConstant = false;
    storeRows(job_.responseCutoff, job_.numItems);
}

WizardPage* FormCutoff::nextPage() { return pages_.deleteItems; }

void FormCutoff::restore() {
    if (!job_.cutoffConstant) {
        choose(OptionVariable);
        showRows(job_.responseCutoff, job_.numItems);
    } else {
        choose(OptionConstant);
        UpDownCutoff->setBoxValue(job_.responseCutoff[0]);
    }
}

}  // namespace vormgui
