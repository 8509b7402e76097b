// The twenty job pages, created once as hidden children of the main window,
// reset by its job reset and opened from its menus (the main window's wiring
// registers them and attaches them to its entries).
#pragma once

#include <vector>

class QWidget;

namespace vormgui {

class Services;
struct JobSettings;
class FormDataFile;
class FormItemDef;
class FormCategories;
class FormCutoff;
class FormDeleteItems;
class FormItemsDiscarded;
class FormDeleteSubjects;
class FormSubjectsDiscarded;
class FormInitSigns;
class FormManualAssign;
class FormQuadrature;
class FormAlgorithm;
class FormConstraint;
class FormItemPrior;
class FormFitGroups;
class FormItemFit;
class FormPersonFit;
class FormPlotGroups;
class WizardPage;

class JobPages {
public:
    // Creates every page over the job record `job`, as a child of `owner`.
    JobPages(Services& services, JobSettings& job, QWidget* owner);
    JobPages(const JobPages&) = delete;
    JobPages& operator=(const JobPages&) = delete;

    // Owned by the main window.
    FormDataFile* dataFile;
    FormItemDef* itemDef;
    FormCategories* categories;
    FormCutoff* cutoff;
    FormDeleteItems* deleteItems;
    FormItemsDiscarded* itemsDiscarded;
    FormDeleteSubjects* deleteSubjects;
    FormSubjectsDiscarded* subjectsDiscarded;
    FormInitSigns* initSigns;
    FormManualAssign* manualAssign;
    FormQuadrature* quadrature;
    FormAlgorithm* algorithm;
    FormConstraint* constraint;
    FormItemPrior* delta;
    FormItemPrior* alpha;
    FormItemPrior* tau;
    FormFitGroups* fitGroups;
    FormItemFit* itemFit;
    FormPersonFit* personFit;
    FormPlotGroups* plotGroups;

    // Every page, in the order of the main window's job reset.
    std::vector<WizardPage*> all() const;
};

}  // namespace vormgui
