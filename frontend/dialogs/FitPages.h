// The fit and plot requests: "Fit Groups", "Item Fit" and "Person Fit" (one
// walk), and "Plot Requests" on its own.  The job file writer takes the two
// requests from the record and the counts, cut-offs and the print answer
// from these controls; the theta-delta group count lives only in its box.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "WizardPage.h"

namespace vormgui {

class UpDown;

class FormFitGroups : public WizardPage {
    Q_OBJECT
public:
    explicit FormFitGroups(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // The request (nothing for neither; setting it enables or disables the
    // box as a click does) and the fit group box.
    std::optional<bool> wanted() const { return choice(OptionYes, OptionNo); }
    void setWanted(bool yes) { choose(OptionYes, OptionNo, yes); }
    QString groupsText() const { return TextNumberOfFitGroups->text(); }
    void setGroupsText(const QString& text) { TextNumberOfFitGroups->setText(text); }

    void OptionYes_Click() { enableCount(true); }
    void OptionNo_Click() { enableCount(false); }

    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;
    QLineEdit* TextNumberOfFitGroups;
    UpDown* UpDownNumberOfFitGroups;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;

private:
    void enableCount(bool enabled);
};

class FormItemFit : public WizardPage {
    Q_OBJECT
public:
    explicit FormItemFit(const PageContext& context);
    void newJob(const JobSettings& job) override;

    QString tCutoffText() const { return TextItemCutoff->text(); }
    void setTCutoffText(const QString& text) { TextItemCutoff->setText(text); }
    QString chiSquareCutoffText() const { return TextItemChiSquareCutoff->text(); }
    void setChiSquareCutoffText(const QString& text) { TextItemChiSquareCutoff->setText(text); }

    QLineEdit* TextItemCutoff;
    QLineEdit* TextItemChiSquareCutoff;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;
};

class FormPersonFit : public WizardPage {
    Q_OBJECT
public:
    explicit FormPersonFit(const PageContext& context);
    void newJob(const JobSettings& job) override;

    QString tCutoffText() const { return TextPersonCutoff->text(); }
    void setTCutoffText(const QString& text) { TextPersonCutoff->setText(text); }
    QString localizedCutoffText() const { return TextLocalizedPersonCutoff->text(); }
    void setLocalizedCutoffText(const QString& text) { TextLocalizedPersonCutoff->setText(text); }
    QString chiSquareCutoffText() const { return TextChiSquareCutoff->text(); }
    void setChiSquareCutoffText(const QString& text) { TextChiSquareCutoff->setText(text); }
    // Print the fit of every respondent (nothing for neither).
    std::optional<bool> printAll() const { return choice(OptionYes, OptionNo); }
    void setPrintAll(bool yes) { choose(OptionYes, OptionNo, yes); }

    QLineEdit* TextPersonCutoff;
    QLineEdit* TextLocalizedPersonCutoff;
    QLineEdit* TextChiSquareCutoff;
    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    void restore() override;
};

class FormPlotGroups : public WizardPage {
    Q_OBJECT
public:
    explicit FormPlotGroups(const PageContext& context);
    void newJob(const JobSettings& job) override;

    std::optional<bool> wanted() const { return choice(OptionYes, OptionNo); }
    void setWanted(bool yes) { choose(OptionYes, OptionNo, yes); }
    QString plotGroupsText() const { return TextPlotGroupNumber->text(); }
    void setPlotGroupsText(const QString& text) { TextPlotGroupNumber->setText(text); }
    QString thetaDeltaGroupsText() const { return TextThetaDeltaPairGroupNumber->text(); }
    void setThetaDeltaGroupsText(const QString& text) { TextThetaDeltaPairGroupNumber->setText(text); }

    void OptionYes_Click() { enableCounts(true); }
    void OptionNo_Click() { enableCounts(false); }

    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;
    QLineEdit* TextPlotGroupNumber;
    UpDown* UpDownPlotGroupNumber;
    QLineEdit* TextThetaDeltaPairGroupNumber;
    UpDown* UpDownThetaDeltaPairGroupNumber;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    void restore() override;

private:
    void enableCounts(bool enabled);
};

}  // namespace vormgui
