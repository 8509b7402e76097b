#include "mGnuPlot.h"

#include <QFileInfo>
#include <QImage>

#include "core/PlotLayout.h"
#include "core/readPlotPair.h"
#include "platform/Services.h"

namespace vormgui {

QString overflowText() {
    return QStringLiteral("More than %1 records!! Please check your data file.").arg(plot::kMaxRecords);
}

mGnuPlot::mGnuPlot(Services& services, const QString& title) : services_(services), title_(title) {}

bool mGnuPlot::fail(const QString& text, const QString& title) {
    if (showsMessages) services_.message(text, title, MsgIcon::Critical, MsgButtons::Ok);
    return false;
}

bool mGnuPlot::plotScriptFile(Canvas& picture, const QString& scriptPath, const QString& dataPath) {
    const QString generalText = QStringLiteral("Error when opening the file for plot. Please check file name.");
    const QString generalTitle = QStringLiteral("Error as plotting!");
    picture.clear();

    const plot::PairRead pair = plot::readPlotPair(scriptPath, dataPath);
    if (pair.failure == plot::PairFailure::Overflow) return fail(overflowText(), QStringLiteral("Overflow!"));
    if (pair.failure == plot::PairFailure::Refused) return fail(pair.refusal, generalTitle);
    // Range lines read before a failing script line have taken effect already.
    if (pair.script.xRange) plotXMin = pair.script.xRange->min, plotXMax = pair.script.xRange->max;
    if (pair.script.yRange) plotYMin = pair.script.yRange->min, plotYMax = pair.script.yRange->max;
    if (pair.failure != plot::PairFailure::None) return fail(generalText, generalTitle);

    const plot::Layout layout =
        plot::layoutPlot(pair.table, pair.script, {plotXMin, plotXMax}, {plotYMin, plotYMax}, picture);
    plot::paint(layout.items, picture);
    if (!layout.complete) return fail(generalText, generalTitle);
    return true;
}

void mGnuPlot::savePlotAsBitmap(const QImage& picture, FileChoice& dialog) {
    dialog.filter = QStringLiteral("*.bmp");
    if (!services_.chooseSaveFile(dialog) || dialog.fileName.isEmpty()) return;
    QString name = dialog.fileName;
    if (name.right(4).toUpper() != QLatin1String(".BMP")) name += QStringLiteral(".BMP");
    if (QFileInfo::exists(name) &&
        services_.message(QStringLiteral("File  '%1' exists! Do you want to overwrite it?").arg(name), title_,
                          MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    picture.save(name, "BMP");
}

}  // namespace vormgui
