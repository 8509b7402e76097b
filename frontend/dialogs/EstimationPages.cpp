#include "EstimationPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "JobPages.h"
#include "UpDown.h"
#include "core/mGlobalVariables.h"
#include "platform/Numbers.h"

namespace vormgui {

FormQuadrature::FormQuadrature(const PageContext& context)
    : WizardPage(context, "FormQuadrature", "Quadrature", "Quadrature.htm") {
    TextNumberOfQuadraturePoints = box("TextNumberOfQuadraturePoints");
    UpDownNumberOfQuadraturePoints = new UpDown(QStringLiteral("UpDownNumberOfQuadraturePoints"),
                                                *TextNumberOfQuadraturePoints, limits::kQuadraturePoints, this);
    addNumberRow(body(), 0, label("LabelNumberOfQuadraturePoints", QStringLiteral("Number of Quadrature Points")),
                 TextNumberOfQuadraturePoints, UpDownNumberOfQuadraturePoints);

    QGroupBox* prior = frame("FramePrior", QStringLiteral("Type of Prior Distribution"));
    QButtonGroup* group = optionGroup();
    auto* inside = new QGridLayout(prior);
    const struct {
        QRadioButton** option;
        const char* name;
        const char* labelName;
        const char* caption;
    } kinds[] = {
        {&OptionNormalDistribution, "OptionNormalDistribution", "LabelNormalDistribution",
         "Standard Normal Distribution"},
        {&OptionUserSpecified, "OptionUserSpecified", "LabelUserSpecified", "User Specified Distribution"},
        {&OptionEmpirical, "OptionEmpirical", "LabelEmpirical", "Empirical Distribution"},
    };
    int row = 0;
    for (const auto& k : kinds) {
        *k.option = option(k.name, QString(), group, prior);
        inside->addWidget(*k.option, row, 0);
        inside->addWidget(label(k.labelName, QString::fromLatin1(k.caption), prior), row++, 1);
    }
    // The choice stays selectable, but the engine always estimates under the
    // standard normal prior: say so where the choice is made.
    QLabel* note = label("LabelPriorNote",
                         QStringLiteral("The engine always uses the standard normal distribution: "
                                        "the other two choices are not passed to it."),
                         prior);
    note->setWordWrap(true);
    inside->addWidget(note, row, 0, 1, 2);
    inside->setColumnStretch(1, 1);
    OptionNormalDistribution->setChecked(true);
    body()->addWidget(prior, 1, 0, 1, 3);
}

void FormQuadrature::newJob(const JobSettings& job) {
    TextNumberOfQuadraturePoints->setText(boxText(job.numQuadraturePoints));
}

std::optional<WizardPage::Failure> FormQuadrature::check(Press) {
    if (TextNumberOfQuadraturePoints->text().isEmpty())
        return Failure{QStringLiteral("Please fill in the number of quadrature points!")};
    if (!parseCount(TextNumberOfQuadraturePoints->text(), limits::kQuadraturePoints))
        return Failure{QStringLiteral("Number of quadrature points must be between 1 and 50")};
    return std::nullopt;
}

void FormQuadrature::store() {
    job_.numQuadraturePoints = static_cast<std::int16_t>(*parseCount(TextNumberOfQuadraturePoints->text()));
    TextNumberOfQuadraturePoints->setText(boxText(job_.numQuadraturePoints));
}

WizardPage* FormQuadrature::nextPage() { return pages_.algorithm; }

void FormQuadrature::restore() { UpDownNumberOfQuadraturePoints->setBoxValue(job_.numQuadraturePoints); }

namespace {

// The four counts of the algorithm page, in the order of its checks.
struct CycleCount {
    int box;
    int minimum;
    const char* empty;
    const char* tooFew;
    std::int16_t JobSettings::*field;
};
constexpr CycleCount kCounts[] = {
    {FormAlgorithm::Outer, limits::kOuterCycles.low, "Please fill in the number of outer cycles!",
     "The number of outer cycles must be at least 5!", &JobSettings::numOuterCycles},
    {FormAlgorithm::Inner, limits::kIterations.low, "Please fill in the number of inner cycles!",
     "The number of inner cycles must be at least 1!", &JobSettings::numInnerCycles},
    {FormAlgorithm::Thresholds, limits::kIterations.low, "Please fill in the number of iterations for thresholds!",
     "Number of Fisher scoring for thresholds must be at least 1!", &JobSettings::numThresholdIterations},
    {FormAlgorithm::Items, limits::kIterations.low, "Please fill in the number of iterations for items!",
     "Number of Fisher scoring for items must be at least 1!", &JobSettings::numItemIterations},
};

}  // namespace

FormAlgorithm::FormAlgorithm(const PageContext& context)
    : WizardPage(context, "FormAlgorithm", "Algorithm", "Algorithm.htm", NextButton::Shown, "Next >>") {
    TextOuterCycles = box("TextOuterCycles");
    // The arrows stop short of what may be typed (limits::kMaxCount).
    UpDownOuterCycles =
        new UpDown(QStringLiteral("UpDownOuterCycles"), *TextOuterCycles, limits::kOuterCycles.low, 10000, this);
    TextInnerCycles = box("TextInnerCycles");
    UpDownInnerCycles = new UpDown(QStringLiteral("UpDownInnerCycles"), *TextInnerCycles, 1, 10000, this);
    QGroupBox* scoring = frame("FrameFisherScoring", QStringLiteral("Number of Fisher Scoring Iterations for..."));
    TextThresholds = box("TextThresholds", scoring);
    UpDownThresholds = new UpDown(QStringLiteral("UpDownThresholds"), *TextThresholds, 1, 10000, scoring);
    TextItems = box("TextItems", scoring);
    UpDownItems = new UpDown(QStringLiteral("UpDownItems"), *TextItems, 1, 10000, scoring);
    TextCriterion = box("TextCriterion");
    boxes_[Outer] = TextOuterCycles;
    boxes_[Inner] = TextInnerCycles;
    boxes_[Thresholds] = TextThresholds;
    boxes_[Items] = TextItems;
    boxes_[Criterion] = TextCriterion;

    addNumberRow(body(), 0, label("LabelOuterCycles", QStringLiteral("Number of Outer Cycles")), TextOuterCycles,
                 UpDownOuterCycles);
    addNumberRow(body(), 1, label("LabelInnerCycles", QStringLiteral("Number of Inner Cycles")), TextInnerCycles,
                 UpDownInnerCycles);
    auto* inside = new QGridLayout(scoring);
    addNumberRow(inside, 0, label("LabelThresholds", QStringLiteral("Thresholds"), scoring), TextThresholds,
                 UpDownThresholds);
    addNumberRow(inside, 1, label("LabelItems", QStringLiteral("Items"), scoring), TextItems, UpDownItems);
    body()->addWidget(scoring, 2, 0, 1, 3);
    addNumberRow(body(), 3, label("LabelCriterion", QStringLiteral("Convergence Criterion")), TextCriterion);
}

void FormAlgorithm::newJob(const JobSettings& job) {
    for (const CycleCount& c : kCounts) boxes_[c.box]->setText(boxText(job.*c.field));
    TextCriterion->setText(boxText(job.convergenceCriterion));
}

std::optional<WizardPage::Failure> FormAlgorithm::check(Press) {
    const Failure notNumeric{QStringLiteral("All the values must be numeric!")};
    for (const CycleCount& c : kCounts) {
        const QString text = boxes_[c.box]->text();
        if (text.isEmpty()) return Failure{QString::fromLatin1(c.empty)};
        if (!parseNumber(text)) return notNumeric;
        const std::optional<int> count = parseCount(text);
        if (!count)
            return Failure{QStringLiteral("The numbers of cycles and iterations must be whole numbers up to 32767!")};
        if (*count < c.minimum) return Failure{QString::fromLatin1(c.tooFew)};
    }
    if (TextCriterion->text().isEmpty()) return Failure{QStringLiteral("Please fill in the converge criterion!")};
    const std::optional<double> criterion = parseNumber(TextCriterion->text());
    if (!criterion) return notNumeric;
    if (*criterion <= 0 || *criterion > limits::kMaxCriterion)
        return Failure{QStringLiteral("The convergence criterion must be greater than 0 and no more than 0.01!")};
    return std::nullopt;
}

void FormAlgorithm::store() {
    for (const CycleCount& c : kCounts) {
        job_.*c.field = static_cast<std::int16_t>(*parseCount(boxes_[c.box]->text()));
        boxes_[c.box]->setText(boxText(job_.*c.field));
    }
    job_.convergenceCriterion = *parseNumber(TextCriterion->text());
    TextCriterion->setText(boxText(job_.convergenceCriterion));
}

WizardPage* FormAlgorithm::nextPage() { return pages_.constraint; }

void FormAlgorithm::restore() {
    UpDown* const spins[] = {UpDownOuterCycles, UpDownInnerCycles, UpDownThresholds, UpDownItems};
    for (const CycleCount& c : kCounts) spins[c.box]->setBoxValue(job_.*c.field);
    TextCriterion->setText(boxText(job_.convergenceCriterion));
}

FormConstraint::FormConstraint(const PageContext& context)
    : WizardPage(context, "FormConstraint", "Constraints", "Constraint.htm", NextButton::None) {
    QGroupBox* question =
        yesNoFrame("FrameConstraint", QStringLiteral("Constrain lambda/threshold average across items?"), OptionYes,
                   LabelYes, OptionNo, LabelNo);
    OptionNo->setChecked(true);
    QLabel* note = label("LabelNote", QStringLiteral("Note: This is only applicable for models 2, 4, 6 and 8 when "
                                                     "response categories are constant."));
    note->setWordWrap(true);
    body()->addWidget(question, 0, 0);
    body()->addWidget(note, 1, 0);
}

void FormConstraint::newJob(const JobSettings&) { setConstrain(false); }

void FormConstraint::store() { job_.useConstraint = !OptionNo->isChecked(); }

void FormConstraint::restore() { setConstrain(job_.useConstraint); }

}  // namespace vormgui
