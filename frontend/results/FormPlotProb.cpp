#include "FormPlotProb.h"

#include "core/readPlotPair.h"
#include "mGnuPlot.h"
#include "widgets/PictureBox.h"

namespace vormgui {

FormPlotProb::FormPlotProb(Services& services, mGnuPlot& renderer, QWidget* parent)
    : PlotViewer(plotKind(QStringLiteral("FormPlotProb")), services, renderer, parent) {}

bool FormPlotProb::drawPlot(const QString& scriptPath, const QString& dataPath) {
    return probPlotScriptFile(scriptPath, dataPath);
}

bool FormPlotProb::fail(const QString& text, const QString& title) {
    if (!quiet_) services_.message(text, title, MsgIcon::Critical, MsgButtons::Ok);
    return false;
}

bool FormPlotProb::probPlotScriptFile(const QString& scriptPath, const QString& dataPath) {
    const QString generalText = QStringLiteral(
        "Error as reading the plot data/script file(s). Please check file name and validity of plot files.");
    const QString generalTitle = QStringLiteral("Error as plotting!");
    Canvas& picture = PicturePlot->canvas();
    picture.clear();

    const plot::PairRead pair = plot::readPlotPair(scriptPath, dataPath);
    switch (pair.failure) {
        case plot::PairFailure::None:
            break;
        case plot::PairFailure::Overflow:
            return fail(overflowText(), QStringLiteral("Overflow!"));
        case plot::PairFailure::Refused:
            return fail(pair.refusal, generalTitle);
        case plot::PairFailure::NoFields:
            return fail(QStringLiteral("No record!! Please check your data file."),
                        QStringLiteral("Empty or error data file!"));
        default:
            return fail(generalText, generalTitle);
    }
    if (pair.script.xRange) {
        const auto x = plot::wholeRange(*pair.script.xRange);
        if (!x) return fail(generalText, generalTitle);
        ranges_.xMin = x->first, ranges_.xMax = x->second;
    }
    if (pair.script.yRange) {
        const auto y = plot::wholeRange(*pair.script.yRange);
        if (!y) return fail(generalText, generalTitle);
        ranges_.yMin = y->first, ranges_.yMax = y->second;
    }

    const plot::Layout layout = plot::layoutProbPlot(pair.table, pair.script, ranges_, picture);
    plot::paint(layout.items, picture);
    if (!layout.complete) return fail(generalText, generalTitle);
    return true;
}

}  // namespace vormgui
