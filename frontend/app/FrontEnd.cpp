#include "FrontEnd.h"

#include <QAction>

#include "dialogs/CutoffPages.h"
#include "dialogs/DiscardPages.h"
#include "dialogs/EstimationPages.h"
#include "dialogs/FitPages.h"
#include "dialogs/FormItemPrior.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/SignPages.h"
#include "platform/Services.h"

namespace vormgui {

FrontEnd::FrontEnd(Services& services, const AppPaths& paths)
    : form(services, paths),
      plots(services, paths, FormMain::kTitle, &form),
      pages(services, form.jobSettings, &form),
      controls(pages),
      reports(services, paths, &form) {
    attachJobPages(form, pages, services);
    attachReportWindows(form, reports);
    attachPlotWindows(form, plots);
    form.setJobPages(controls);
}

void attachJobPages(FormMain& form, JobPages& pages, Services& services) {
    const std::pair<QAction*, WizardPage*> entries[] = {
        {form.mnuReaddataitem, pages.dataFile},
        {form.mnuDefinitionitem, pages.itemDef},
        {form.mnuResponseitem, pages.cutoff},
        {form.mnuDeleteItemsitem, pages.deleteItems},
        {form.mnuDeleteSubjectitem, pages.deleteSubjects},
        {form.mnuInitialValues, pages.initSigns},
        {form.munQuadratureitem, pages.quadrature},
        {form.mnuAlgorithmitem, pages.algorithm},
        {form.munConstraintitem, pages.constraint},
        {form.munDeltaitem, pages.delta},
        {form.mnuAlphaitem, pages.alpha},
        {form.mnuTauitem, pages.tau},
        {form.mnuFitGroups, pages.fitGroups},
        {form.mnuItemfititem, pages.itemFit},
        {form.mnuPersonfititem, pages.personFit},
        {form.mnuPlotitem, pages.plotGroups},
    };
    for (const auto& entry : entries) {
        WizardPage* page = entry.second;
        form.attach(entry.first, [&services, page] { services.showModal(*page); });
    }
    for (WizardPage* page : pages.all()) form.addPage(*page);
}

void attachReportWindows(FormMain& form, ReportWindows& reports) {
    QAction* const entries[] = {form.mnuExeInfo, form.mnuItemPara, form.mnuPersonPara, form.mnuFitStat};
    for (std::size_t k = 0; k < std::size(entries); ++k)
        form.attach(entries[k], [&reports, k] { reports.openText(k); });
    form.attach(form.mnuResponseFrequency, [&reports] { reports.openFrequencyChart(); });
}

void attachPlotWindows(FormMain& form, PlotWindows& plots) {
    const struct {
        QAction* FormMain::*entry;
        const char* window;
    } entries[] = {
        {&FormMain::mnuItemFitPlot, "FormPlotFit"},
        {&FormMain::mnuProbability, "FormPlotProb"},
        {&FormMain::mnuItemCharacteristicCurve, "FormPlotExp"},
        {&FormMain::mnuTestCharacteristicCurve, "FormPlotTestChar"},
        {&FormMain::mnuInfoCurve, "FormPlotInfo"},
        {&FormMain::mnuTestInfoCurve, "FormPlotTestInfo"},
        {&FormMain::mnuExpectedObservedResponse, "FormPlotExpectedObservedResponse"},
        {&FormMain::mnuEATEstimateDistribution, "FormPlotEAPEstimate"},
        {&FormMain::mnuItemLocationEstimates, "FormPlotLocationEstimates"},
        {&FormMain::mnuLatentTraitDistribution, "FormPlotLatentTrait"},
    };
    for (const auto& e : entries) {
        const QString window = QLatin1String(e.window);
        form.attach(form.*e.entry, [&plots, window] { plots.open(window); });
    }
}

}  // namespace vormgui
