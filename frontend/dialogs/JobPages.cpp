#include "JobPages.h"

#include "CutoffPages.h"
#include "DiscardPages.h"
#include "EstimationPages.h"
#include "FitPages.h"
#include "FormItemPrior.h"
#include "ReadDataPages.h"
#include "SignPages.h"
#include "platform/Services.h"

namespace vormgui {

JobPages::JobPages(Services& services, JobSettings& job, QWidget* owner) {
    const PageContext context{services, job, *this, owner};
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
}

std::vector<WizardPage*> JobPages::all() const {
    return {
        dataFile,  itemDef,      categories, cutoff,    deleteItems, itemsDiscarded, deleteSubjects, subjectsDiscarded,
        initSigns, manualAssign, quadrature, algorithm, constraint,  delta,          alpha,          tau,
        fitGroups, itemFit,      personFit,  plotGroups};
}

}  // namespace vormgui
