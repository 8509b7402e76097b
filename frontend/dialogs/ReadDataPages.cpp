#include "ReadDataPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "CutoffPages.h"
#include "JobPages.h"
#include "UpDown.h"
#include "core/mGlobalVariables.h"
#include "platform/Numbers.h"

namespace vormgui {

const QString kItemsInvalid = QStringLiteral("The number of items must be a number from 1 to 32767!");
const QString kTooManyItems =
    QStringLiteral("With categories, cutoffs or signs given per item a job can have at most 100 items!");

std::optional<int> itemCount(const QString& text) { return parseCount(text, limits::kItemsOnPages); }

FormDataFile::FormDataFile(const PageContext& context)
    : WizardPage(context, "FormDataFile", "Read Data", "ReadData.htm") {
    QGroupBox* location = frame("FrameDataFile", QStringLiteral("Location of Data File"));
    TextDataFile = box("TextDataFile", location);
    TextDataFile->setToolTip(QStringLiteral("Type the location or click the Browse button."));
    TextDataFile->setMinimumWidth(320);
    CommandBrowse = new QPushButton(QStringLiteral("Browse..."), location);
    CommandBrowse->setObjectName(QStringLiteral("CommandBrowse"));
    CommandBrowse->setToolTip(QStringLiteral("Select data file location here."));
    CommandBrowse->setAutoDefault(false);
    auto* locationRow = new QHBoxLayout(location);
    locationRow->addWidget(TextDataFile);
    locationRow->addWidget(CommandBrowse);

    QGroupBox* format = frame("FrameFortranFormat", QStringLiteral("Type Fortran Format   e.g. (i4,1x,25i1)"));
    TextFortranFormat = box("TextFortranFormat", format);
    TextFortranFormat->setToolTip(QStringLiteral("Type in Fortran format  e.g. (i4,1x,25i1)"));
    (new QHBoxLayout(format))->addWidget(TextFortranFormat);

    QButtonGroup* recodeGroup = optionGroup();
    OptionYes = option("OptionYes", QStringLiteral("Yes"), recodeGroup);
    OptionNo = option("OptionNo", QStringLiteral("No"), recodeGroup);
    OptionNo->setChecked(true);
    auto* recodeRow = new QHBoxLayout;
    recodeRow->addWidget(label("LabelRecode", QStringLiteral("Do you want to recode data?")));
    recodeRow->addSpacing(12);
    recodeRow->addWidget(OptionYes);
    recodeRow->addWidget(OptionNo);
    recodeRow->addStretch();

    body()->addWidget(location, 0, 0);
    body()->addWidget(format, 1, 0);
    body()->addLayout(recodeRow, 2, 0);
    connect(CommandBrowse, &QPushButton::clicked, this, &FormDataFile::CommandBrowse_Click);
}

void FormDataFile::newJob(const JobSettings&) {
    TextDataFile->clear();
    TextFortranFormat->clear();
    choose(OptionNo);
}

void FormDataFile::CommandBrowse_Click() {
    if (services_.chooseOpenFile(CommonDialogOpenFile)) TextDataFile->setText(CommonDialogOpenFile.fileName);
}

std::optional<WizardPage::Failure> FormDataFile::check(Press) {
    if (TextDataFile->text().isEmpty()) return Failure{QStringLiteral("Please indicate the location of data file!")};
    if (TextFortranFormat->text().isEmpty()) return Failure{QStringLiteral("Please indicate the fortran format!")};
    if (!recode()) return Failure{QStringLiteral("Please indicate if you want to recode the data!")};
    return std::nullopt;
}

void FormDataFile::store() {
    job_.dataFileName = TextDataFile->text();
    job_.fortranFormat = TextFortranFormat->text();
    job_.recodeData = OptionYes->isChecked();
}

WizardPage* FormDataFile::nextPage() { return pages_.itemDef; }

void FormDataFile::restore() {
    TextFortranFormat->setText(job_.fortranFormat);
    TextDataFile->setText(job_.dataFileName);
    setRecode(job_.recodeData);
}

FormItemDef::FormItemDef(const PageContext& context)
    : WizardPage(context, "FormItemDef", "Item Definitions", "ItemDef.htm") {
    TextNumberOfItems = box("TextNumberOfItems");
    // The arrows stop short of what may be typed (limits::kItemsOnPages).
    UpDownNumberOfItems = new UpDown(QStringLiteral("UpDownNumberOfItems"), *TextNumberOfItems, 1, 10000, this);
    QGroupBox* categories = frame("FrameCategories", QStringLiteral("Response Category Definitions"));
    QButtonGroup* group = optionGroup();
    OptionConstant = option("OptionConstant", QStringLiteral("Constant"), group, categories);
    TextNumberOfCategories = box("TextNumberOfCategories", categories);
    UpDownNumberOfCategories = new UpDown(QStringLiteral("UpDownNumberOfCategories"), *TextNumberOfCategories,
                                          limits::kCategories, categories);
    OptionVariable = option("OptionVariable", QStringLiteral("Variable"), group, categories);
    auto* inside = new QGridLayout(categories);
    addNumberRow(inside, 0, OptionConstant, TextNumberOfCategories, UpDownNumberOfCategories);
    inside->addWidget(OptionVariable, 1, 0);

    addNumberRow(body(), 0, label("LabelNumberOfItems", QStringLiteral("Number of Items")), TextNumberOfItems,
                 UpDownNumberOfItems);
    body()->addWidget(categories, 1, 0, 1, 3);
    connect(OptionConstant, &QRadioButton::clicked, this, &FormItemDef::OptionConstant_Click);
    connect(OptionVariable, &QRadioButton::clicked, this, &FormItemDef::OptionVariable_Click);
}

void FormItemDef::newJob(const JobSettings& job) {
    TextNumberOfItems->setText(boxText(job.numItems));
    choose(OptionConstant);
    TextNumberOfCategories->setText(boxText(job.numCategories[0]));
}

void FormItemDef::OptionConstant_Click() {
    TextNumberOfCategories->setEnabled(true);
    UpDownNumberOfCategories->setEnabled(true);
}

void FormItemDef::OptionVariable_Click() {
    TextNumberOfCategories->setEnabled(false);
    UpDownNumberOfCategories->setEnabled(false);
}

std::optional<WizardPage::Failure> FormItemDef::check(Press press) {
    if (TextNumberOfItems->text().isEmpty()) return Failure{QStringLiteral("Please define number of items!")};
    const std::optional<int> items = itemCount(TextNumberOfItems->text());
    if (!items) return Failure{kItemsInvalid};
    if (OptionVariable->isChecked()) {
        if (press == Press::Ok)
            return Failure{QStringLiteral("Please press next button to fill the number of categories!")};
        if (*items > kMaxItems) return Failure{kTooManyItems};
        return std::nullopt;
    }
    if (!OptionConstant->isChecked())
        return Failure{QStringLiteral("Please indicate if the number of categories is constant or not!")};
    if (TextNumberOfCategories->text().isEmpty())
        return Failure{QStringLiteral("Please fill the constant number of categories in the text field!")};
    if (!parseCount(TextNumberOfCategories->text(), limits::kCategories))
        return Failure{QStringLiteral("Input Error! The number of categories should be between 2 and 10 ")};
    if (*items > kMaxItems && (!job_.cutoffConstant || job_.manualSigns)) return Failure{kTooManyItems};
    return std::nullopt;
}

void FormItemDef::proceed(Press press) {
    const int items = *itemCount(TextNumberOfItems->text());
    // The box holds the count as it is stored; Cancel on the categories page
    // puts back the record's.
    TextNumberOfItems->setText(QString::number(items));
    if (OptionVariable->isChecked()) {
        hide();
        pages_.categories->setDataRows(items);
        showPage(*pages_.categories);
        return;
    }
    job_.categoriesConstant = true;
    job_.numItems = static_cast<std::int16_t>(items);
    job_.numCategories[0] = static_cast<std::int16_t>(*parseCount(TextNumberOfCategories->text()));
    TextNumberOfItems->setText(boxText(job_.numItems));
    TextNumberOfCategories->setText(boxText(job_.numCategories[0]));
    pages_.cutoff->setDataRows(items);
    hide();
    if (consistentOrWarn() && press == Press::Next) showPage(*pages_.cutoff);
}

void FormItemDef::restore() {
    UpDownNumberOfItems->setBoxValue(job_.numItems);
    if (job_.categoriesConstant) {
        choose(OptionConstant);
        UpDownNumberOfCategories->setBoxValue(job_.numCategories[0]);
    } else {
        choose(OptionVariable);
        pages_.categories->showStoredCategories();
    }
}

}  // namespace vormgui
