#include "FormPlotProb.h"

#include "mGnuPlot.h"
#include "platform/PictureBox.h"

namespace vormgui {

FormPlotProb::FormPlotProb(Services& services, mGnuPlot& renderer, QWidget* parent)
    : PlotViewer(plotKind(QStringLiteral("FormPlotProb")), services, renderer, parent) {}

bool FormPlotProb::drawPlot(const QString& scriptPath, const QString& dataPath) {
    probPlotScriptFile(scriptPath, dataPath);
    return true;
}

void FormPlotProb::fail(const QString& text, const QString& title) {
    services_.message(text, title, MsgIcon::Critical, MsgButtons::Ok);
}

void FormPlotProb::probPlotScriptFile(const QString& scriptPath, const QString& dataPath) {
    const QString generalText = QStringLiteral(
        "Error as reading the plot data/script file(s). Please check file name and validity of plot files.");
    const QString generalTitle = QStringLiteral("Error as plotting!");
    Canvas& picture = PicturePlot->canvas();
    // Cleared first, so that a file that cannot be drawn never leaves the
    // previous item's plot on show under the new selection.
    picture.clear();

    const std::optional<std::string> dataBytes = readPlotFile(dataPath);
    if (!dataBytes) return fail(generalText, generalTitle);
    const plot::DataRead data = plot::readPlotData(*dataBytes);
    if (data.status == plot::DataStatus::Overflow)
        return fail(QStringLiteral("More than %1 records!! Please check your data file.").arg(plot::kMaxRecords),
                    QStringLiteral("Overflow!"));
    if (data.status == plot::DataStatus::NoFields)
        return fail(QStringLiteral("No record!! Please check your data file."),
                    QStringLiteral("Empty or error data file!"));
    if (data.status != plot::DataStatus::Ok) return fail(generalText, generalTitle);

    const std::optional<std::string> scriptBytes = readPlotFile(scriptPath);
    if (!scriptBytes) return fail(generalText, generalTitle);
    const plot::ScriptRead script = plot::readPlotScript(*scriptBytes);
    if (!script.ok) return fail(generalText, generalTitle);
    if (script.script.xRange) {
        const auto x = plot::wholeRange(*script.script.xRange);
        if (!x) return fail(generalText, generalTitle);
        ranges_.xMin = x->first, ranges_.xMax = x->second;
    }
    if (script.script.yRange) {
        const auto y = plot::wholeRange(*script.script.yRange);
        if (!y) return fail(generalText, generalTitle);
        ranges_.yMin = y->first, ranges_.yMax = y->second;
    }

    const plot::Layout layout = plot::layoutProbPlot(data.table, script.script, ranges_, picture);
    plot::paint(layout.items, picture);
    if (!layout.complete) fail(generalText, generalTitle);
}

}  // namespace vormgui
