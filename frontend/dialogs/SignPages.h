// The start of the estimation walk: "Initial Signs" (reverse the signs of
// the initial item locations, or assign them by hand) and "Initial Sign
// Assignment" (one "+" or "-" per item).  The job file writer takes these
// answers from the record, not from the controls.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "GridPage.h"

class QGroupBox;

namespace vormgui {

class FormInitSigns : public WizardPage {
    Q_OBJECT
public:
    explicit FormInitSigns(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // The two answers (nothing for neither); setting the reverse answer
    // greys out or enables the manual question as a click does.
    std::optional<bool> reverse() const { return choice(OptionYes, OptionNo); }
    void setReverse(bool yes) { choose(OptionYes, OptionNo, yes); }
    std::optional<bool> manual() const { return choice(OptionYes2, OptionNo2); }
    void setManual(bool yes) { choose(OptionYes2, OptionNo2, yes); }

    void OptionYes_Click() { enableManual(false); }
    void OptionNo_Click() { enableManual(true); }

    QGroupBox* FrameInitSigns;
    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;
    QGroupBox* FrameManualAssign;
    QRadioButton* OptionYes2;
    QLabel* LabelYes2;
    QRadioButton* OptionNo2;
    QLabel* LabelNo2;

protected:
    std::optional<Failure> check(Press press) override;
    void proceed(Press press) override;
    void restore() override;

private:
    void enableManual(bool enabled);
};

class FormManualAssign : public GridPage {
    Q_OBJECT
public:
    explicit FormManualAssign(const PageContext& context);
    void newJob(const JobSettings& job) override;

    QComboBox* Combo1;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;
};

}  // namespace vormgui
