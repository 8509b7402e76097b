// The front end as the program puts it together: the main window with its
// report viewers, plot windows and job pages, every menu entry connected.
// The program and the test that drives the whole road build it here, so the
// test meets the windows exactly as a user does.
#pragma once

#include "dialogs/JobPageControls.h"
#include "dialogs/JobPages.h"
#include "results/PlotWindows.h"
#include "shell/FormMain.h"

namespace vormgui {

class FrontEnd {
public:
    // Ready for the main window's start-up (form.Form_Load()).
    FrontEnd(Services& services, const AppPaths& paths);

    // Destroyed from the last: the plot windows go before the main window
    // that parents them.
    FormMain form;
    PlotWindows plots;
    JobPages pages;
    JobPageControls controls;
};

}  // namespace vormgui
