// The estimation settings: "Quadrature" (the number of quadrature points),
// "Algorithm" (cycle and iteration limits, the convergence criterion) and
// "Constraints".  The job file writer reads the boxes of the first two and
// takes the constraint from the record.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "WizardPage.h"

class QGroupBox;

namespace vormgui {

class UpDown;

class FormQuadrature : public WizardPage {
    Q_OBJECT
public:
    explicit FormQuadrature(const PageContext& context);
    void newJob(const JobSettings& job) override;

    QString pointsText() const { return TextNumberOfQuadraturePoints->text(); }
    void setPointsText(const QString& text) { TextNumberOfQuadraturePoints->setText(text); }

    QLineEdit* TextNumberOfQuadraturePoints;
    UpDown* UpDownNumberOfQuadraturePoints;
    // The prior distribution: offered, but no job reads it.
    QRadioButton* OptionNormalDistribution;
    QRadioButton* OptionUserSpecified;
    QRadioButton* OptionEmpirical;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;
};

class FormAlgorithm : public WizardPage {
    Q_OBJECT
public:
    explicit FormAlgorithm(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // The five boxes, in the job file's order: outer cycles, inner cycles,
    // iterations for thresholds, for items, the criterion.
    enum Box { Outer, Inner, Thresholds, Items, Criterion };
    QString text(Box which) const { return boxes_[which]->text(); }
    void setText(Box which, const QString& text) { boxes_[which]->setText(text); }

    QLineEdit* TextOuterCycles;
    UpDown* UpDownOuterCycles;
    QLineEdit* TextInnerCycles;
    UpDown* UpDownInnerCycles;
    QLineEdit* TextThresholds;
    UpDown* UpDownThresholds;
    QLineEdit* TextItems;
    UpDown* UpDownItems;
    QLineEdit* TextCriterion;

protected:
    std::optional<Failure> check(Press press) override;
    void store() override;
    WizardPage* nextPage() override;
    void restore() override;

private:
    QLineEdit* boxes_[5];
};

class FormConstraint : public WizardPage {
    Q_OBJECT
public:
    explicit FormConstraint(const PageContext& context);
    void newJob(const JobSettings& job) override;

    // The answer; the job file writer sets No when it drops a constraint.
    std::optional<bool> constrain() const { return choice(OptionYes, OptionNo); }
    void setConstrain(bool yes) { choose(OptionYes, OptionNo, yes); }

    QRadioButton* OptionYes;
    QLabel* LabelYes;
    QRadioButton* OptionNo;
    QLabel* LabelNo;

protected:
    std::optional<Failure> check(Press) override { return std::nullopt; }
    void store() override;
    void restore() override;
};

}  // namespace vormgui
