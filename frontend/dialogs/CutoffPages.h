// The per-item pages of the data walk: "Response Category Definitions" (the
// number of categories of each item, reached only through Next on the item
// definitions page) and "Response Cutoffs" (one cutoff for all items or one
// per item).  Item i is row i of the grids and element i of the record's
// lists.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "GridPage.h"

namespace vormgui {

class UpDown;

class FormCategories : public GridPage {
    Q_OBJECT
public:
    explicit FormCategories(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // One row per item of the record with its stored number of categories.
    void showStoredCategories();

    QComboBox* Combo1;

protected:
    std::optional<Failure> check(Press press) override;
    void proceed(Press press) override;
    void restore() override;
    void afterCancel() override { consistentOrWarn(); }
};

class FormCutoff : public GridPage {
    Q_OBJECT
public:
    explicit FormCutoff(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // Controls' values: the constant-or-per-item answer (true for Constant,
    // nothing for neither), the constant cutoff, the per-item cutoffs.
    // Setting the answer shows the box or the grid and asks nothing.
    std::optional<bool> cutoffConstant() const { return choice(OptionConstant, OptionVariable); }
    void setCutoffConstant(bool constant);
    QString cutoffText() const { return TextCutOff->text(); }
    void setCutoffText(const QString& text) { TextCutOff->setText(text); }

    void OptionConstant_Click();
    void OptionVariable_Click();
    // After a double-click has opened the editor: its list for the row.
    void grd_DblClick();

    QRadioButton* OptionConstant;
    QLineEdit* TextCutOff;
    UpDown* UpDownCutoff;
    QRadioButton* OptionVariable;
    QComboBox* Combo1;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;
    void afterCancel() override { consistentOrWarn(); }

private:
    void showMode(bool constant);
    // The editor's list "0" to categories - 1, keeping what the editor shows.
    void listCutoffs(std::optional<int> categories);
    std::optional<Failure> checkPerItem();
};

}  // namespace vormgui
