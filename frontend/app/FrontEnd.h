// The front end as the program puts it together: the main window with its
// report viewers, plot windows and job pages, every menu entry connected.
// The program and the test that drives the whole road build it here, so the
// test meets the windows exactly as a user does.
//
// The windows know nothing of the main window's menus: the attach functions
// below give each entry its action, and tests that build part of the front
// end call the ones they need.
#pragma once

#include "FormMain.h"
#include "dialogs/JobPageControls.h"
#include "dialogs/JobPages.h"
#include "results/PlotWindows.h"
#include "results/ReportWindows.h"

namespace vormgui {

class FrontEnd {
public:
    // Ready for the main window's start-up (form.Form_Load()).
    FrontEnd(Services& services, const AppPaths& paths);

    // Destroyed from the last: the result windows go before the main window
    // that parents them.
    FormMain form;
    PlotWindows plots;
    JobPages pages;
    JobPageControls controls;
    ReportWindows reports;
};

// Registers every page with the main window's job reset and start-up, and
// gives the page entries of the menus their pages.
void attachJobPages(FormMain& form, JobPages& pages, Services& services);
// The Text Output entries and Graph Output > Response Frequency.
void attachReportWindows(FormMain& form, ReportWindows& reports);
// The other Graph Output entries.
void attachPlotWindows(FormMain& form, PlotWindows& plots);

}  // namespace vormgui
