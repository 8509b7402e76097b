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

class PlotViewer;
class Services;

class PlotWindows {
public:
    // The windows are children of `owner`; this object must die before it.
    // `title` heads the windows' questions.
    PlotWindows(Services& services, const AppPaths& paths, const QString& title, QWidget* owner);
    ~PlotWindows();

    PlotViewer& window(const QString& form);
    // What the window's Graph Output entry does: the window opens over the
    // work folder's plot files of its kind, after a warning when there are
    // such files and the last run did not complete.
    void open(const QString& form);

private:
    Services& services_;
    AppPaths paths_;
    mGnuPlot renderer_;
    std::vector<std::unique_ptr<PlotViewer>> windows_;
};

}  // namespace vormgui
