// The twenty job pages, created once as hidden children of the main window,
// reset by its job reset and opened from its menus.
#pragma once

namespace vormgui {

class FormMain;
class Services;
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

class JobPages {
public:
    // Creates every page, registers it with the main window before its
    // start-up and gives the page entries of the menus their actions.
    JobPages(FormMain& form, Services& services);
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
};

}  // namespace vormgui
