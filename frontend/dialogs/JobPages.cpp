#include "JobPages.h"

#include <QAction>

#include "CutoffPages.h"
#include "DiscardPages.h"
#include "ReadDataPages.h"
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

    const std::pair<QAction*, WizardPage*> entries[] = {
        {form.mnuReaddataitem, dataFile},
        {form.mnuDefinitionitem, itemDef},
        {form.mnuResponseitem, cutoff},
        {form.mnuDeleteItemsitem, deleteItems},
        {form.mnuDeleteSubjectitem, deleteSubjects},
    };
    for (const auto& [entry, page] : entries) form.attach(entry, [&services, page] { services.showModal(*page); });
    for (WizardPage* page : std::initializer_list<WizardPage*>{dataFile, itemDef, categories, cutoff, deleteItems,
                                                               itemsDiscarded, deleteSubjects, subjectsDiscarded})
        form.addPage(*page);
}

}  // namespace vormgui
