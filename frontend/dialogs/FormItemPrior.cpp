#include "FormItemPrior.h"

#include <QGridLayout>
#include <QLabel>

namespace vormgui {

FormItemPrior::FormItemPrior(const PageContext& context, const char* name, const char* title, const char* helpPage,
                             const QString& parameter, FormItemPrior* next)
    : WizardPage(context, name, title, helpPage), next_(next) {
    TextMean = box("TextMean");
    TextSTD = box("TextSTD");
    TextMean->setFixedWidth(80);
    TextSTD->setFixedWidth(80);
    body()->addWidget(
        label("LabelPrior", QStringLiteral("Prior distribution for %1 will be ??? with...").arg(parameter)), 0, 0, 1,
        3);
    body()->addWidget(label("LabelMean", QStringLiteral("Mean")), 1, 0);
    body()->addWidget(TextMean, 1, 1);
    body()->addWidget(label("LabelSTD", QStringLiteral("Standard Deviation")), 2, 0);
    body()->addWidget(TextSTD, 2, 1);
    body()->setColumnStretch(2, 1);
}

WizardPage* FormItemPrior::nextPage() { return next_; }

}  // namespace vormgui
