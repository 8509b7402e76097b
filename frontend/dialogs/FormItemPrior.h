// The item prior pages "DELTA (not supported yet)", "ALPHA (not supported
// yet)" and "TAU (not supported yet)": where prior settings would go.  They
// check and store nothing, and only a menu that is never shown opens them;
// their boxes keep what is typed until the program ends.
#pragma once

#include <QLineEdit>

#include "WizardPage.h"

namespace vormgui {

class FormItemPrior : public WizardPage {
    Q_OBJECT
public:
    // `parameter` is DELTA, ALPHA or TAU; Next shows `next`, or only hides
    // the page when there is none.
    FormItemPrior(const PageContext& context, const char* name, const char* title, const char* helpPage,
                  const QString& parameter, FormItemPrior* next);

    QLineEdit* TextMean;
    QLineEdit* TextSTD;

protected:
    std::optional<Failure> check(Press) override { return std::nullopt; }
    WizardPage* nextPage() override;
    void restore() override {}

private:
    FormItemPrior* next_;
};

}  // namespace vormgui
