#include "FitPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <vector>

#include "JobPages.h"
#include "UpDown.h"
#include "core/mGlobalVariables.h"
#include "platform/Numbers.h"

namespace vormgui {

namespace {

// A cut-off box with what its page says when it is empty or holds no number.
struct CutoffBox {
    QLineEdit* box;
    QString empty;
    QString notANumber;
    double JobSettings::*field;
};

// Every box must be filled before any is read as a number.
std::optional<QString> cutoffFailure(const std::vector<CutoffBox>& boxes) {
    for (const CutoffBox& c : boxes)
        if (c.box->text().isEmpty()) return c.empty;
    for (const CutoffBox& c : boxes)
        if (!parseNumber(c.box->text())) return c.notANumber;
    return std::nullopt;
}

void storeCutoffs(JobSettings& job, const std::vector<CutoffBox>& boxes) {
    for (const CutoffBox& c : boxes) {
        job.*c.field = *parseNumber(c.box->text());
        c.box->setText(boxText(job.*c.field));
    }
}

void showCutoffs(const JobSettings& job, const std::vector<CutoffBox>& boxes) {
    for (const CutoffBox& c : boxes) c.box->setText(boxText(job.*c.field));
}

std::vector<CutoffBox> itemCutoffs(QLineEdit* t, QLineEdit* chiSquare, bool next) {
    return {{t, QStringLiteral("Please fill item t-value cut-off in the text field!"),
             QStringLiteral("The item t-value cut-off must be a number!"), &JobSettings::itemTCutoff},
            {chiSquare,
             next ? QStringLiteral("Please fill item Chi-Square probability cut-off in the text field!")
                  : QStringLiteral("Please fill item Qui-Square probability cut-off in the text field!"),
             QStringLiteral("The item chi-square probability cut-off must be a number!"),
             &JobSettings::itemChiSquareCutoff}};
}

std::vector<CutoffBox> personCutoffs(QLineEdit* t, QLineEdit* localized, QLineEdit* chiSquare) {
    return {{t, QStringLiteral("Please fill person t-value cut-off in the text field!"),
             QStringLiteral("The person t-value cut-off must be a number!"), &JobSettings::personTCutoff},
            {localized, QStringLiteral("Please fill localized persoin t-value cut-off in the text field!"),
             QStringLiteral("The localized person t-value cut-off must be a number!"),
             &JobSettings::localizedPersonTCutoff},
            {chiSquare, QStringLiteral("Please fill persoon Chi-Square probability cut-off in the text field!"),
             QStringLiteral("The person chi-square probability cut-off must be a number!"),
             &JobSettings::personChiSquareCutoff}};
}

// A count of groups between the spin button's ends as they stand.
bool inSpinRange(std::optional<int> count, const UpDown& spin) {
    return count && *count >= spin.min() && *count <= spin.max();
}

QString rangeText(const char* start, const UpDown& spin) {
    return QString::fromLatin1(start) + QStringLiteral("%1 and %2").arg(spin.min()).arg(spin.max());
}

}  // namespace

FormFitGroups::FormFitGroups(const PageContext& context)
    : WizardPage(context, "FormFitGroups", "Fit Groups", "FitGroups.htm") {
    QGroupBox* question = yesNoFrame("FrameFitStatistics", QStringLiteral("Want fit statistics?"), OptionYes, LabelYes,
                                     OptionNo, LabelNo);
    TextNumberOfFitGroups = box("TextNumberOfFitGroups");
    // The page asks for two groups at least, though the engine takes one.
    UpDownNumberOfFitGroups =
        new UpDown(QStringLiteral("UpDownNumberOfFitGroups"), *TextNumberOfFitGroups, 2, limits::kFitGroups.high, this);
    body()->addWidget(question, 0, 0, 1, 3);
    addNumberRow(body(), 1, label("LabelNumberOfFitGroups", QStringLiteral("Number of Fit Groups")),
                 TextNumberOfFitGroups, UpDownNumberOfFitGroups);
    connect(OptionYes, &QRadioButton::clicked, this, &FormFitGroups::OptionYes_Click);
    connect(OptionNo, &QRadioButton::clicked, this, &FormFitGroups::OptionNo_Click);
    choose(OptionNo);
}

void FormFitGroups::newJob(const JobSettings& job) {
    setWanted(false);
    TextNumberOfFitGroups->setText(boxText(job.numFitGroups));
}

void FormFitGroups::enableCount(bool enabled) {
    TextNumberOfFitGroups->setEnabled(enabled);
    UpDownNumberOfFitGroups->setEnabled(enabled);
}

std::optional<WizardPage::Failure> FormFitGroups::check(Press) {
    const std::optional<bool> yes = wanted();
    if (!yes) return Failure{QStringLiteral("Please indicate whether you want to fit statistics or not!")};
    if (!*yes) return std::nullopt;
    if (TextNumberOfFitGroups->text().isEmpty())
        return Failure{QStringLiteral("Please fill the number of fit groups!")};
    if (!inSpinRange(parseCount(TextNumberOfFitGroups->text()), *UpDownNumberOfFitGroups))
        return Failure{rangeText("The number of fit groups must be between ", *UpDownNumberOfFitGroups)};
    return std::nullopt;
}

void FormFitGroups::store() {
    job_.wantFitStatistics = OptionYes->isChecked();
    if (!job_.wantFitStatistics) return;
    job_.numFitGroups = static_cast<std::int16_t>(*parseCount(TextNumberOfFitGroups->text()));
    TextNumberOfFitGroups->setText(boxText(job_.numFitGroups));
}

WizardPage* FormFitGroups::nextPage() { return pages_.itemFit; }

void FormFitGroups::restore() {
    setWanted(job_.wantFitStatistics);
    UpDownNumberOfFitGroups->setBoxValue(job_.numFitGroups);
}

FormItemFit::FormItemFit(const PageContext& context) : WizardPage(context, "FormItemFit", "Item Fit", "ItemFit.htm") {
    TextItemCutoff = box("TextItemCutoff");
    TextItemChiSquareCutoff = box("TextItemChiSquareCutoff");
    addNumberRow(body(), 0, label("LabelItemCutoff", QStringLiteral("Item t-value cut-off")), TextItemCutoff);
    addNumberRow(body(), 1, label("LabelItemChiSquareCutoff", QStringLiteral("Item chi-square probability cut-off")),
                 TextItemChiSquareCutoff);
}

void FormItemFit::newJob(const JobSettings& job) {
    showCutoffs(job, itemCutoffs(TextItemCutoff, TextItemChiSquareCutoff, false));
}

std::optional<WizardPage::Failure> FormItemFit::check(Press press) {
    if (auto text = cutoffFailure(itemCutoffs(TextItemCutoff, TextItemChiSquareCutoff, press == Press::Next)))
        return Failure{*text};
    return std::nullopt;
}

void FormItemFit::store() { storeCutoffs(job_, itemCutoffs(TextItemCutoff, TextItemChiSquareCutoff, false)); }

WizardPage* FormItemFit::nextPage() { return pages_.personFit; }

void FormItemFit::restore() { showCutoffs(job_, itemCutoffs(TextItemCutoff, TextItemChiSquareCutoff, false)); }

FormPersonFit::FormPersonFit(const PageContext& context)
    : WizardPage(context, "FormPersonFit", "Person Fit", "PersonFit.htm", NextButton::None) {
    TextPersonCutoff = box("TextPersonCutoff");
    TextLocalizedPersonCutoff = box("TextLocalizedPersonCutoff");
    TextChiSquareCutoff = box("TextChiSquareCutoff");
    QGroupBox* question = yesNoFrame("FramePrintAll", QStringLiteral("Print fit for every respondent?"), OptionYes,
                                     LabelYes, OptionNo, LabelNo);
    OptionNo->setChecked(true);
    addNumberRow(body(), 0, label("LabelPersonCutoff", QStringLiteral("Person t-value cut-off")), TextPersonCutoff);
    addNumberRow(body(), 1, label("LabelLocalizedPersonCutoff", QStringLiteral("Localized person t-value cut-off")),
                 TextLocalizedPersonCutoff);
    addNumberRow(body(), 2, label("LabelChiSquareCutoff", QStringLiteral("Person chi-square probability cut-off")),
                 TextChiSquareCutoff);
    body()->addWidget(question, 3, 0, 1, 3);
}

void FormPersonFit::newJob(const JobSettings& job) {
    setPrintAll(false);
    showCutoffs(job, personCutoffs(TextPersonCutoff, TextLocalizedPersonCutoff, TextChiSquareCutoff));
}

std::optional<WizardPage::Failure> FormPersonFit::check(Press) {
    if (!printAll())
        return Failure{QStringLiteral("Please indicate whether you want to print fit for each respondent or not!")};
    if (auto text = cutoffFailure(personCutoffs(TextPersonCutoff, TextLocalizedPersonCutoff, TextChiSquareCutoff)))
        return Failure{*text};
    return std::nullopt;
}

void FormPersonFit::store() {
    storeCutoffs(job_, personCutoffs(TextPersonCutoff, TextLocalizedPersonCutoff, TextChiSquareCutoff));
    job_.printPersonFit = OptionYes->isChecked();
}

void FormPersonFit::restore() {
    showCutoffs(job_, personCutoffs(TextPersonCutoff, TextLocalizedPersonCutoff, TextChiSquareCutoff));
    setPrintAll(job_.printPersonFit);
}

FormPlotGroups::FormPlotGroups(const PageContext& context)
    : WizardPage(context, "FormPlotGroups", "Plot Requests", "PlotGroups.htm", NextButton::None) {
    QGroupBox* question =
        yesNoFrame("FramePlots", QStringLiteral("Want to obtain plots?"), OptionYes, LabelYes, OptionNo, LabelNo);
    TextPlotGroupNumber = box("TextPlotGroupNumber");
    UpDownPlotGroupNumber =
        new UpDown(QStringLiteral("UpDownPlotGroupNumber"), *TextPlotGroupNumber, limits::kPlotGroups, this);
    TextThetaDeltaPairGroupNumber = box("TextThetaDeltaPairGroupNumber");
    UpDownThetaDeltaPairGroupNumber = new UpDown(QStringLiteral("UpDownThetaDeltaPairGroupNumber"),
                                                 *TextThetaDeltaPairGroupNumber, limits::kThetaDeltaGroups, this);
    body()->addWidget(question, 0, 0, 1, 3);
    addNumberRow(body(), 1, label("LabelPlotGroupNumber", QStringLiteral("Number of Fit Plot Groups")),
                 TextPlotGroupNumber, UpDownPlotGroupNumber);
    addNumberRow(body(), 2,
                 label("LabelThetaDeltaPairGroupNumber", QStringLiteral("Number of Theta -Delta Pair Groups")),
                 TextThetaDeltaPairGroupNumber, UpDownThetaDeltaPairGroupNumber);
    connect(OptionYes, &QRadioButton::clicked, this, &FormPlotGroups::OptionYes_Click);
    connect(OptionNo, &QRadioButton::clicked, this, &FormPlotGroups::OptionNo_Click);
    choose(OptionNo);
}

void FormPlotGroups::newJob(const JobSettings& job) {
    setWanted(false);
    TextPlotGroupNumber->setText(boxText(job.numPlotGroups));
    TextThetaDeltaPairGroupNumber->setText(boxText(job.numThetaDeltaGroups));
}

void FormPlotGroups::enableCounts(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{TextPlotGroupNumber, UpDownPlotGroupNumber,
                                                      TextThetaDeltaPairGroupNumber, UpDownThetaDeltaPairGroupNumber})
        w->setEnabled(enabled);
}

std::optional<WizardPage::Failure> FormPlotGroups::check(Press) {
    const std::optional<bool> yes = wanted();
    if (!yes) return Failure{QStringLiteral("Please indicate whether you want to plot or not!")};
    if (!*yes) return std::nullopt;
    if (TextPlotGroupNumber->text().isEmpty())
        return Failure{QStringLiteral("Please fill the number of plot groups!"), QString()};
    if (!inSpinRange(parseCount(TextPlotGroupNumber->text()), *UpDownPlotGroupNumber))
        return Failure{rangeText("The number of fit plot groups must be between ", *UpDownPlotGroupNumber)};
    const QString pairs = TextThetaDeltaPairGroupNumber->text();
    if (pairs.isEmpty())
        return Failure{QStringLiteral("Please fill the number of theta-delta pair groups!"), QString()};
    if (!inSpinRange(parseCount(pairs), *UpDownThetaDeltaPairGroupNumber))
        return Failure{
            rangeText("The number of theta-delta pair groups must be between ", *UpDownThetaDeltaPairGroupNumber)};
    return std::nullopt;
}

void FormPlotGroups::store() {
    job_.wantPlots = OptionYes->isChecked();
    if (!job_.wantPlots) return;
    job_.numPlotGroups = static_cast<std::int16_t>(*parseCount(TextPlotGroupNumber->text()));
    TextPlotGroupNumber->setText(boxText(job_.numPlotGroups));
    // The count is kept in its box only, as the engine will read it.
    TextThetaDeltaPairGroupNumber->setText(QString::number(*parseCount(TextThetaDeltaPairGroupNumber->text())));
}

void FormPlotGroups::restore() {
    setWanted(job_.wantPlots);
    UpDownPlotGroupNumber->setBoxValue(job_.numPlotGroups);
}

}  // namespace vormgui
