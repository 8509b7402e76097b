// What the main window needs of a job page.  Every page is created once,
// owned (as a QDialog child) by the main window, registered with
// FormMain::addPage before start-up, and only ever hidden.
#pragma once

#include <QString>

namespace vormgui {

struct JobSettings;

class JobPage {
public:
    virtual ~JobPage() = default;

    // The page's form name ("FormCutoff"), also its objectName.
    virtual QString pageName() const = 0;

    // The job reset's part of this page: set the controls that a new job
    // resets from the record, which already holds the new job's defaults.
    virtual void newJob(const JobSettings& job) = 0;

    // Pages with a grid take its column-1 heading (and the grid's standard
    // column widths and header height) at start-up.
    virtual void setGridHeading(const QString& heading) { static_cast<void>(heading); }
};

}  // namespace vormgui
