// The category probability window: the plot window of the PLOT2 files, drawn
// by its own renderer (ProbPlotLayout.h) that shows every category of the
// item, where the script names only the first.  It steps through the items
// as every plot window does (PlotViewer.h).
#pragma once

#include "PlotViewer.h"
#include "core/ProbPlotLayout.h"

namespace vormgui {

class FormPlotProb : public PlotViewer {
    Q_OBJECT
public:
    FormPlotProb(Services& services, mGnuPlot& renderer, QWidget* parent);

    // Clears the picture and draws the pair; false, after saying why, when it
    // cannot.
    bool probPlotScriptFile(const QString& scriptPath, const QString& dataPath);

protected:
    bool drawPlot(const QString& scriptPath, const QString& dataPath) override;

private:
    bool fail(const QString& text, const QString& title);

    // The last ranges read; a script without a range line keeps them.
    plot::WholeRanges ranges_;
};

}  // namespace vormgui
