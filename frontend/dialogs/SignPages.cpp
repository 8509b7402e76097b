#include "SignPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <algorithm>

#include "EstimationPages.h"
#include "JobPages.h"
#include "ReadDataPages.h"
#include "core/mGlobalVariables.h"

namespace vormgui {

FormInitSigns::FormInitSigns(const PageContext& context)
    : WizardPage(context, "FormInitSigns", "Initial Signs", "init.htm") {
    FrameInitSigns = yesNoFrame("FrameInitSigns", QStringLiteral("Reverse Signs of Initial Location Estimates?"),
                                OptionYes, LabelYes, OptionNo, LabelNo);
    FrameManualAssign =
        yesNoFrame("FrameManualAssign", QStringLiteral("Manually Assign Signs to Initial Location Estimates?"),
                   OptionYes2, LabelYes2, OptionNo2, LabelNo2, "2");
    body()->addWidget(FrameInitSigns, 0, 0);
    body()->addWidget(FrameManualAssign, 1, 0);
    connect(OptionYes, &QRadioButton::clicked, this, &FormInitSigns::OptionYes_Click);
    connect(OptionNo, &QRadioButton::clicked, this, &FormInitSigns::OptionNo_Click);
    choose(OptionNo);
    choose(OptionNo2);
}

void FormInitSigns::newJob(const JobSettings&) {
    setReverse(false);
    setManual(false);
}

// While the signs are reversed the manual question cannot be answered.
void FormInitSigns::enableManual(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{FrameManualAssign, LabelYes2, OptionYes2, LabelNo2, OptionNo2})
        w->setEnabled(enabled);
}

std::optional<WizardPage::Failure> FormInitSigns::check(Press press) {
    const std::optional<bool> reversed = reverse();
    if (!reversed)
        return Failure{
            QStringLiteral("Please indicate whether you would reverse signs of initial location estimates or not!")};
    if (*reversed) return std::nullopt;
    const std::optional<bool> byHand = manual();
    if (!byHand)
        return Failure{QStringLiteral(
            "Please indicate whether you would manually assign signs to initial location estimates or not!")};
    if (!*byHand) return std::nullopt;
    if (press == Press::Ok)
        return Failure{QStringLiteral("Please press next button to assign the signs to initial location estimates!")};
    if (job_.numItems > kMaxItems) return Failure{kTooManyItems};
    return std::nullopt;
}

void FormInitSigns::proceed(Press press) {
    hide();
    if (OptionYes->isChecked()) {
        job_.reverseSigns = true;
        setManual(job_.manualSigns);
    } else if (OptionYes2->isChecked()) {
        pages_.manualAssign->setDataRows(job_.numItems);
        showPage(*pages_.manualAssign);
        return;
    } else {
        job_.reverseSigns = false;
        job_.manualSigns = false;
    }
    if (press == Press::Next) showPage(*pages_.quadrature);
}

void FormInitSigns::restore() {
    setReverse(job_.reverseSigns);
    setManual(job_.manualSigns);
}

FormManualAssign::FormManualAssign(const PageContext& context)
    : GridPage(context, "FormManualAssign", "Initial Sign Assignment", "assign.htm") {
    Combo1 = comboEditor({QStringLiteral("+"), QStringLiteral("-")});
    body()->addWidget(grd, 0, 0, Qt::AlignHCenter);
}

void FormManualAssign::newJob(const JobSettings&) { emptyRows(2); }

std::optional<WizardPage::Failure> FormManualAssign::check(Press) {
    if (job_.numItems > kMaxItems) return Failure{kTooManyItems};
    // Every item needs its sign, also one the grid has no row for.
    const int rows = std::max<int>(grd->rows() - 1, job_.numItems);
    for (int k = 1; k <= rows; ++k) {
        const QString sign = grd->textMatrix(k, 1);
        if (sign != QLatin1String("+") && sign != QLatin1String("-"))
            return Failure{QStringLiteral("Input Error! Each sign must be '+' or '-'")};
    }
    return std::nullopt;
}

void FormManualAssign::store() {
    job_.reverseSigns = false;
    job_.manualSigns = true;
    for (int k = 1; k <= job_.numItems; ++k) job_.initialSigns[k] = grd->textMatrix(k, 1) == QLatin1String("+");
}

WizardPage* FormManualAssign::nextPage() { return pages_.quadrature; }

void FormManualAssign::restore() {
    pages_.initSigns->setReverse(job_.reverseSigns);
    pages_.initSigns->setManual(job_.manualSigns);
    if (!job_.manualSigns) return;
    const int rows = std::min(grd->rows() - 1, kMaxItems);
    for (int k = 1; k <= rows; ++k)
        grd->setTextMatrix(k, 1, job_.initialSigns[k] ? QStringLiteral("+") : QStringLiteral("-"));
}

}  // namespace vormgui
