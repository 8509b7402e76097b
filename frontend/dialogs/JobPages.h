// The job pages, created once as hidden children of the main window,
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
};

}  // namespace vormgui
