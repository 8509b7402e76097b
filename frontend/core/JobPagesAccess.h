// The job pages as the job file commands see them: a snapshot of what their
// controls show for the writer, and File Open's way back into them.
#pragma once

#include "JobFile.h"

namespace vormgui {

struct JobSettings;

class JobPagesAccess {
public:
    virtual ~JobPagesAccess() = default;

    // What the pages' controls show now; the Model menu is the main window's,
    // so checkedModel is left as 0.
    virtual JobControls controls() const = 0;

    // File Open: the controls show `controls`, and the option buttons that
    // follow the record (constraint, sign reversal, manual signs, plots, fit
    // statistics) show `job`.
    virtual void showJob(const JobControls& controls, const JobSettings& job) = 0;

    // The writer took back a constraint that the model cannot have.
    virtual void selectNoConstraint() = 0;

    // The data file box shows `path` (a job saved into another folder names
    // its data file in full).
    virtual void setDataFile(const QString& path) = 0;
};

}  // namespace vormgui
