// The first pages of the data walk: "Read Data" (the data file, its record
// format, recoding) and "Item Definitions" (the number of items, constant or
// per-item categories).  The job file writer reads their controls through
// the accessors.
#pragma once

#include <QLineEdit>
#include <QRadioButton>

#include "WizardPage.h"
#include "platform/Services.h"

class QPushButton;

namespace vormgui {

class UpDown;

class FormDataFile : public WizardPage {
    Q_OBJECT
public:
    explicit FormDataFile(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // Controls' values: the path, the format, the recode answer (nothing when
    // neither button is set).
    QString dataFileText() const { return TextDataFile->text(); }
    void setDataFileText(const QString& text) { TextDataFile->setText(text); }
    QString formatText() const { return TextFortranFormat->text(); }
    void setFormatText(const QString& text) { TextFortranFormat->setText(text); }
    std::optional<bool> recode() const { return choice(OptionYes, OptionNo); }
    void setRecode(bool yes) { choose(OptionYes, OptionNo, yes); }

    void CommandBrowse_Click();

    QLineEdit* TextDataFile;
    QPushButton* CommandBrowse;
    QLineEdit* TextFortranFormat;
    QRadioButton* OptionYes;
    QRadioButton* OptionNo;
    FileChoice CommonDialogOpenFile;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;
};

class FormItemDef : public WizardPage {
    Q_OBJECT
public:
    explicit FormItemDef(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // Controls' values: the two boxes and the constant-or-per-item answer
    // (true for Constant, nothing when neither is set).  Setting the answer
    // enables or disables the categories box as a click does.
    QString itemsText() const { return TextNumberOfItems->text(); }
    void setItemsText(const QString& text) { TextNumberOfItems->setText(text); }
    QString categoriesText() const { return TextNumberOfCategories->text(); }
    void setCategoriesText(const QString& text) { TextNumberOfCategories->setText(text); }
    std::optional<bool> categoriesConstant() const { return choice(OptionConstant, OptionVariable); }
    void setCategoriesConstant(bool constant) { choose(OptionConstant, OptionVariable, constant); }

    void OptionConstant_Click();
    void OptionVariable_Click();

    QLineEdit* TextNumberOfItems;
    UpDown* UpDownNumberOfItems;
    QRadioButton* OptionConstant;
    QLineEdit* TextNumberOfCategories;
    UpDown* UpDownNumberOfCategories;
    QRadioButton* OptionVariable;

    // The controls from the record, as Cancel sets them; the categories page's
    // Cancel sets them too.
    void restore() override;

protected:
    std::optional<Failure> check(Press press) override;
    void proceed(Press press) override;
    void afterCancel() override { consistentOrWarn(); }
};

// Messages of the item count where the pages refuse what the record cannot
// hold: a count that is no count, and more than 100 items while a setting is
// given per item (the per-item lists end at item 100).
extern const QString kItemsInvalid;
extern const QString kTooManyItems;
// The item count of a box when it is one: a count from 1 to 32767.
std::optional<int> itemCount(const QString& text);

}  // namespace vormgui
