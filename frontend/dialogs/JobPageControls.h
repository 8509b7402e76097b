// The job pages as the main window's job file commands see them: the
// controls the writer reads, and File Open's way of setting them.
#pragma once

#include "core/JobPagesAccess.h"

namespace vormgui {

class JobPages;

class JobPageControls : public JobPagesAccess {
public:
    explicit JobPageControls(JobPages& pages) : pages_(pages) {}

    // A yes/no pair with neither button set counts as No.
    JobControls controls() const override;
    void showJob(const JobControls& controls, const JobSettings& job) override;
    void selectNoConstraint() override;
    void setDataFile(const QString& path) override;

private:
    JobPages& pages_;
};

}  // namespace vormgui
