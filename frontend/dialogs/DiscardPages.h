// The pages that leave items and respondents out: "Delete Items" and "Delete
// Respondents" ask whether and how many, "Choose Items to Delete" and
// "Choose Respondents to Delete" take the item numbers and respondent
// identifiers, one per grid row.  A Yes is committed only by the list page;
// the question page commits only a No.  The job file writer reads the
// answer, the count box and the list from the controls.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "GridPage.h"

class QGroupBox;

namespace vormgui {

class UpDown;

extern const QString kItemCountInvalid;
extern const QString kSubjectCountInvalid;
extern const QString kSubjectIdOutOfRange;

class FormDeleteItems : public WizardPage {
    Q_OBJECT
public:
    explicit FormDeleteItems(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // Controls' values: the answer (nothing for neither) and the count box.
    // Setting the answer has the effect of a click.
    std::optional<bool> discard() const { return choice(OptionYes, OptionNo); }
    void setDiscard(bool yes) { choose(OptionYes, OptionNo, yes); }
    QString countText() const { return TextNumberOfItemsToDiscard->text(); }
    void setCountText(const QString& text) { TextNumberOfItemsToDiscard->setText(text); }
    void setCount(int count);

    void OptionYes_Click();
    void OptionNo_Click();

    QGroupBox* FrameDiscardItems;
    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;
    QLabel* LabelNumberOfItemsToDiscard;
    QLineEdit* TextNumberOfItemsToDiscard;
    UpDown* UpDownNumberOfItemsToDiscard;

protected:
    std::optional<Failure> check(Press press) override;
    void proceed(Press press) override;
    void restore() override;

private:
    void enableCount(bool enabled);
};

class FormItemsDiscarded : public GridPage {
    Q_OBJECT
public:
    explicit FormItemsDiscarded(const PageContext& context);
    void newJob(const JobSettings& job) override;

    QLineEdit* txtGridEdit;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;
};

class FormDeleteSubjects : public WizardPage {
    Q_OBJECT
public:
    explicit FormDeleteSubjects(const PageContext& context);
    void newJob(const JobSettings& job) override;

    std::optional<bool> discard() const { return choice(OptionYes, OptionNo); }
    void setDiscard(bool yes) { choose(OptionYes, OptionNo, yes); }
    QString countText() const { return TextNumberOfSubjectsToDiscard->text(); }
    void setCountText(const QString& text) { TextNumberOfSubjectsToDiscard->setText(text); }

    void Form_Activate();
    void OptionYes_Click() { enableCount(true); }
    void OptionNo_Click() { enableCount(false); }

    QGroupBox* FrameDiscardAnyPeople;
    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;
    QLabel* LabelNumberOfRespondentsToDiscard;
    QLineEdit* TextNumberOfSubjectsToDiscard;
    UpDown* UpDownNumberOfSubjectsToDiscard;

protected:
    std::optional<Failure> check(Press press) override;
    void proceed(Press press) override;
    void restore() override;
    void showEvent(QShowEvent* event) override;

private:
    void enableCount(bool enabled);
};

class FormSubjectsDiscarded : public GridPage {
    Q_OBJECT
public:
    explicit FormSubjectsDiscarded(const PageContext& context);
    void newJob(const JobSettings& job) override;

    QLineEdit* txtGridEdit;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    void restore() override;
};

}  // namespace vormgui
