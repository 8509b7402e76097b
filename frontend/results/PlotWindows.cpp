#include "PlotWindows.h"

#include <stdexcept>

#include "FormPlotProb.h"
#include "ReportWindows.h"

namespace vormgui {

PlotWindows::PlotWindows(Services& services, const AppPaths& paths, const QString& title, QWidget* owner)
    : services_(services), paths_(paths), renderer_(services, title) {
    for (const PlotKind& kind : kPlotKinds) {
        if (QLatin1String(kind.form) == QLatin1String("FormPlotProb"))
            windows_.push_back(std::make_unique<FormPlotProb>(services, renderer_, owner));
        else
            windows_.push_back(std::make_unique<PlotViewer>(kind, services, renderer_, owner));
    }
}

PlotWindows::~PlotWindows() = default;

PlotViewer& PlotWindows::window(const QString& form) {
    for (const auto& w : windows_)
        if (w->objectName() == form) return *w;
    throw std::out_of_range("no plot window " + form.toStdString());
}

void PlotWindows::open(const QString& form) {
    PlotViewer& viewer = window(form);
    warnOfIncompleteRun(services_, paths_, QLatin1String(viewer.kind().pattern));
    viewer.open(paths_.workDir());
}

}  // namespace vormgui
