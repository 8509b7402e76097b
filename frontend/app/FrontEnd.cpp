#include "FrontEnd.h"

#include "results/ReportWindows.h"

namespace vormgui {

FrontEnd::FrontEnd(Services& services, const AppPaths& paths)
    : form(services, paths), plots(services, paths, &form), pages(form, services), controls(pages) {
    attachReportWindows(form, services, paths);
    plots.attachTo(form);
    form.setJobPages(controls);
}

}  // namespace vormgui
