// The ten plot windows of the Graph Output menu and the one renderer that
// the nine script-drawn windows share (so a script without a range line
// draws with the range of whichever plot came before it, in any window).
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "mGnuPlot.h"
#include "platform/AppPaths.h"

class QWidget;

namespace vormgui {

class FormMain;
class PlotViewer;
class Services;

class PlotWindows {
public:
    // The windows are children of `owner`; this object must die before it.
    PlotWindows(Services& services, const AppPaths& paths, QWidget* owner);
    ~PlotWindows();

    // Connects and enables the Graph Output entries of the plot windows.
    void attachTo(FormMain& form);

    PlotViewer& window(const QString& form);

private:
    AppPaths paths_;
    mGnuPlot renderer_;
    std::vector<std::unique_ptr<PlotViewer>> windows_;
};

}  // namespace vormgui
