#include "JobPages.h"

#include <QAction>

#include "CutoffPages.h"
#include "DiscardPages.h"
#include "EstimationPages.h"
#include "FitPages.h"
#include "FormItemPrior.h"
#include "ReadDataPages.h"
#include "SignPages.h"
#include "platform/Services.h"
#include "shell/FormMain.h"

namespace vormgui {

JobPages::JobPages(FormMain& form, Services& services) {
    const PageContext context{services, form.jobSettings, *this, &form};
    dataFile = new FormDataFile(context);
    itemDef = new FormItemDef(context);
    categories = new FormCategories(context);
    cutoff = new FormCutoff(context);
    deleteItems = new FormDeleteItems(context);
    itemsDiscarded = new FormItemsDiscarded(context);
    deleteSubjects = new FormDeleteSubjects(context);
    subjectsDiscarded = new FormSubjectsDiscarded(context);
    initSigns = new FormInitSigns(context);
    manualAssign = new FormManualAssign(context);
    quadrature = new FormQuadrature(context);
    algorithm = new FormAlgorithm(context);
    constraint = new FormConstraint(context);
    tau = new FormItemPrior(context, "FormTau", "TAU (not supported yet)", "Tau.htm", QStringLiteral("TAU"), nullptr);
    alpha =
        new FormItemPrior(context, "FormAlpha", "ALPHA (not supported yet)", "Alpha.htm", QStringLiteral("ALPHA"), tau);
    delta = new FormItemPrior(context, "FormDelta", "DELTA (not supported yet)", "Delta.htm", QStringLiteral("DELTA"),
                              alpha);
    fitGroups = new FormFitGroups(context);
    itemFit = new FormItemFit(context);
    personFit = new FormPersonFit(context);
    plotGroups = new FormPlotGroups(context);

    const std::pair<QAction*, WizardPage*> entries[] = {
        {form.mnuReaddataitem, dataFile},
        {form.mnuDefinitionitem, itemDef},
        {form.mnuResponseitem, cutoff},
        {form.mnuDeleteItemsitem, deleteItems},
        {form.mnuDeleteSubjectitem, deleteSubjects},
        {form.mnuInitialValues, initSigns},
        {form.munQuadratureitem, quadrature},
        {form.mnuAlgorithmitem, algorithm},
        {form.munConstraintitem, constraint},
        {form.munDeltaitem, delta},
        {form.mnuAlphaitem, alpha},
        {form.mnuTauitem, tau},
        {form.mnuFitGroups, fitGroups},
        {form.mnuItemfititem, itemFit},
        {form.mnuPersonfititem, personFit},
        {form.mnuPlotitem, plotGroups},
    };
    for (const auto& [entry, page] : entries) form.attach(entry, [&services, page] { services.showModal(*page); });
    for (WizardPage* page :
         std::initializer_list<WizardPage*>{dataFile,    itemDef,        categories,     cutoff,
                                            deleteItems, itemsDiscarded, deleteSubjects, subjectsDiscarded,
                                            initSigns,   manualAssign,   quadrature,     algorithm,
                                            constraint,  delta,          alpha,          tau,
                                            fitGroups,   itemFit,        personFit,      plotGroups})
        form.addPage(*page);
}

}  // namespace vormgui
