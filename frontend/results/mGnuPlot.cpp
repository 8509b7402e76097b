#include "mGnuPlot.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "PlotLayout.h"
#include "platform/Services.h"
#include "shell/FormMain.h"

namespace vormgui {

std::optional<std::string> readPlotFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

mGnuPlot::mGnuPlot(Services& services) : services_(services) {}

bool mGnuPlot::fail(const QString& text, const QString& title) {
    services_.message(text, title, MsgIcon::Critical, MsgButtons::Ok);
    return false;
}

bool mGnuPlot::plotScriptFile(Canvas& picture, const QString& scriptPath, const QString& dataPath) {
    const QString generalText = QStringLiteral("Error when opening the file for plot. Please check file name.");
    const QString generalTitle = QStringLiteral("Error as plotting!");
    picture.clear();

    const std::optional<std::string> dataBytes = readPlotFile(dataPath);
    if (!dataBytes) return fail(generalText, generalTitle);
    const plot::DataRead data = plot::readPlotData(*dataBytes);
    if (data.status == plot::DataStatus::Overflow)
        return fail(QStringLiteral("More than %1 records!! Please check your data file.").arg(plot::kMaxRecords),
                    QStringLiteral("Overflow!"));
    if (data.status != plot::DataStatus::Ok) return fail(generalText, generalTitle);

    const std::optional<std::string> scriptBytes = readPlotFile(scriptPath);
    if (!scriptBytes) return fail(generalText, generalTitle);
    const plot::ScriptRead script = plot::readPlotScript(*scriptBytes);
    // Range lines read before a failing line have taken effect already.
    if (script.script.xRange) plotXMin = script.script.xRange->min, plotXMax = script.script.xRange->max;
    if (script.script.yRange) plotYMin = script.script.yRange->min, plotYMax = script.script.yRange->max;
    if (!script.ok) return fail(generalText, generalTitle);

    const plot::Layout layout =
        plot::layoutPlot(data.table, script.script, {plotXMin, plotXMax}, {plotYMin, plotYMax}, picture);
    plot::paint(layout.items, picture);
    if (!layout.complete) return fail(generalText, generalTitle);
    return true;
}

void savePlotAsBitmap(Services& services, const QImage& picture, FileChoice& dialog) {
    dialog.filter = QStringLiteral("*.bmp");
    if (!services.chooseSaveFile(dialog) || dialog.fileName.isEmpty()) return;
    QString name = dialog.fileName;
    if (name.right(4).toUpper() != QLatin1String(".BMP")) name += QStringLiteral(".BMP");
    if (QFileInfo::exists(name) &&
        services.message(QStringLiteral("File  '%1' exists! Do you want to overwrite it?").arg(name), FormMain::kTitle,
                         MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    picture.save(name, "BMP");
}

}  // namespace vormgui
