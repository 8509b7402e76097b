// VORM: the windowed front end.  It starts the engine VORMCALC beside it and
// reads the engine's files in the work folder; it shares no code with it.
#include <QApplication>
#include <QScreen>

#include "dialogs/JobPageControls.h"
#include "dialogs/JobPages.h"
#include "platform/AppPaths.h"
#include "platform/QtServices.h"
#include "results/PlotWindows.h"
#include "results/ReportWindows.h"
#include "shell/FormMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORM"));
    vormgui::QtServices services;
    const vormgui::AppPaths paths = vormgui::AppPaths::forRunningProgram();
    vormgui::FormMain form(services, paths);
    vormgui::attachReportWindows(form, services, paths);
    vormgui::PlotWindows plots(services, paths, &form);
    plots.attachTo(form);
    vormgui::JobPages pages(form, services);
    vormgui::JobPageControls controls(pages);
    form.setJobPages(controls);
    // The splash centres itself over the main window, so the window's place
    // comes first.
    form.move(QApplication::primaryScreen()->availableGeometry().center() - form.rect().center());
    form.Form_Load();
    form.show();
    return app.exec();
}
