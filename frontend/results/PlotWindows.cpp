#include "PlotWindows.h"

#include <stdexcept>

#include "FormPlotProb.h"
#include "shell/FormMain.h"

namespace vormgui {

PlotWindows::PlotWindows(Services& services, const AppPaths& paths, QWidget* owner)
    : paths_(paths), renderer_(services) {
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

void PlotWindows::attachTo(FormMain& form) {
    const struct {
        QAction* FormMain::*entry;
        const char* window;
    } entries[] = {
        {&FormMain::mnuItemFitPlot, "FormPlotFit"},
        {&FormMain::mnuProbability, "FormPlotProb"},
        {&FormMain::mnuItemCharacteristicCurve, "FormPlotExp"},
        {&FormMain::mnuTestCharacteristicCurve, "FormPlotTestChar"},
        {&FormMain::mnuInfoCurve, "FormPlotInfo"},
        {&FormMain::mnuTestInfoCurve, "FormPlotTestInfo"},
        {&FormMain::mnuExpectedObservedResponse, "FormPlotExpectedObservedResponse"},
        {&FormMain::mnuEATEstimateDistribution, "FormPlotEAPEstimate"},
        {&FormMain::mnuItemLocationEstimates, "FormPlotLocationEstimates"},
        {&FormMain::mnuLatentTraitDistribution, "FormPlotLatentTrait"},
    };
    for (const auto& e : entries) {
        PlotViewer* w = &window(QLatin1String(e.window));
        form.attach(form.*e.entry, [this, w] { w->open(paths_.workDir()); });
    }
}

}  // namespace vormgui
