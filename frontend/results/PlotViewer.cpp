#include "PlotViewer.h"

#include <QPushButton>
#include <stdexcept>

#include "mGnuPlot.h"
#include "mPrintControl.h"
#include "platform/FileListing.h"
#include "widgets/PictureBox.h"
#include "widgets/Twips.h"

namespace vormgui {

namespace {
constexpr auto S = Navigation::Shown;
constexpr auto H = Navigation::Hidden;
constexpr auto N = Navigation::None;
constexpr auto C = MsgIcon::Critical;
}  // namespace

const std::array<PlotKind, 10> kPlotKinds{{
    {"FormPlotFit", "Plot Fit", "PLOT1*.DAT", S, 8070, 6960, 7815, 6255, 6480, 5760, 6960, "PLOT1*", C},
    {"FormPlotExp", "Item Expected Value", "PLOT3*.DAT", S, 8070, 6960, 7815, 6255, 6480, 5760, 6960, "PLOT3*", C},
    {"FormPlotInfo", "Item Information Curve", "PLOT5*.DAT", S, 8055, 6960, 7815, 6255, 6480, 5760, 6960, "PLOT5*", C},
    {"FormPlotTestChar", "Test Characteristic Curve", "PLOT4.DAT", N, 8055, 6960, 7815, 6255, 6480, 5760, 6960, "PLOT4",
     C},
    {"FormPlotTestInfo", "Test Information Curve", "PLOT6.DAT", N, 8085, 6960, 7815, 6255, 6480, 5760, 6960, "PLOT6",
     MsgIcon::None},
    {"FormPlotExpectedObservedResponse", "Expected/Observed Grouped Average Responses", "PLOT7.DAT", N, 8685, 8520,
     8415, 7815, 8040, 6360, 7560, "PLOT7.DAT", C},
    {"FormPlotEAPEstimate", "EAP Estimate Distribution", "PLOTEAP.DAT", H, 9615, 6960, 9375, 6255, 6480, 7440, 8520,
     "PLOTEAP.DAT", C},
    {"FormPlotLatentTrait", "Latent Trait Distribution", "PLOTLAT.DAT", H, 8070, 6960, 7815, 6255, 6480, 5760, 6960,
     "PLOTLAT.DAT", C},
    {"FormPlotLocationEstimates", "Item Location Estimates", "PLOTLOC.DAT", H, 8070, 2970, 7815, 2295, 2520, 5760, 6960,
     "PLOTLOC.DAT", C},
    {"FormPlotProb", "Category Probability Curves", "PLOT2*.DAT", S, 8670, 6960, 8415, 6255, 6480, 6360, 7560, "PLOT2*",
     C},
}};

const PlotKind& plotKind(const QString& form) {
    for (const PlotKind& kind : kPlotKinds)
        if (form == QLatin1String(kind.form)) return kind;
    throw std::out_of_range("no plot window " + form.toStdString());
}

PlotViewer::PlotViewer(const PlotKind& kind, Services& services, mGnuPlot& renderer, QWidget* parent)
    : QDialog(parent), services_(services), kind_(kind), renderer_(renderer) {
    setObjectName(QLatin1String(kind.form));
    setWindowTitle(QLatin1String(kind.caption));
    setFixedSize(twips(*this, kind.clientWidth), twips(*this, kind.clientHeight));

    PicturePlot = new PictureBox(kind.pictureWidth, kind.pictureHeight, this);
    PicturePlot->setObjectName(QStringLiteral("PicturePlot"));
    PicturePlot->setGeometry(twips(*this, 120), twips(*this, 120), twips(*this, kind.pictureWidth),
                             twips(*this, kind.pictureHeight));

    auto button = [this](const char* name, const char* caption, int x) {
        auto* b = new QPushButton(QLatin1String(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setGeometry(twips(*this, x), twips(*this, kind_.buttonY), twips(*this, 975), twips(*this, 375));
        return b;
    };
    if (kind.navigation != Navigation::None) {
        CommandPrevious = button("CommandPrevious", "Previous", 120);
        CommandNext = button("CommandNext", "Next", 1320);
        CommandPrevious->setVisible(kind.navigation == Navigation::Shown);
        CommandNext->setVisible(kind.navigation == Navigation::Shown);
        connect(CommandPrevious, &QPushButton::clicked, this, &PlotViewer::CommandPrevious_Click);
        connect(CommandNext, &QPushButton::clicked, this, &PlotViewer::CommandNext_Click);
    }
    CommandSaveAs = button("CommandSaveAs", "Save As", kind.saveAsX);
    CommandPrint = button("CommandPrint", "Print", kind.printX);
    connect(CommandSaveAs, &QPushButton::clicked, this, &PlotViewer::CommandSaveAs_Click);
    connect(CommandPrint, &QPushButton::clicked, this, &PlotViewer::CommandPrint_Click);
}

PlotViewer::~PlotViewer() = default;

void PlotViewer::open(const QString& workFolder) {
    FileListPlot = FileList{workFolder, QLatin1String(kind_.pattern), listFiles(workFolder, kind_.pattern), -1};
    if (FileListPlot.names.isEmpty()) {
        services_.message(
            QStringLiteral("Plot data file %1%2 are not available.").arg(workFolder, QLatin1String(kind_.missing)),
            QString(), kind_.missingIcon, MsgButtons::Ok);
        return;
    }
    CommonDialogPlot = FileChoice{};
    if (!setListIndex(0)) return;
    services_.showModal(*this);
}

bool PlotViewer::setListIndex(int index) {
    FileListPlot.listIndex = index;
    return FileListPlot_Click();
}

bool PlotViewer::FileListPlot_Click() {
    if (FileListPlot.listIndex < 0 || FileListPlot.listIndex >= FileListPlot.names.size()) return false;
    const QString& folder = FileListPlot.path;
    const QString name = FileListPlot.names.at(FileListPlot.listIndex);
    const QString scriptName = name.chopped(3) + QStringLiteral("SCR");
    // The engine's names differ from the listed ones at most in letter case.
    QString scriptPath = findFile(folder, scriptName);
    if (scriptPath.isEmpty()) scriptPath = folder + scriptName;
    const bool drawn = drawPlot(scriptPath, folder + name);
    PicturePlot->update();
    if (!drawn) reject();
    return drawn;
}

bool PlotViewer::drawPlot(const QString& scriptPath, const QString& dataPath) {
    return renderer_.plotScriptFile(PicturePlot->canvas(), scriptPath, dataPath);
}

void PlotViewer::CommandNext_Click() {
    if (FileListPlot.names.size() > FileListPlot.listIndex + 1) {
        setListIndex(FileListPlot.listIndex + 1);
        return;
    }
    services_.message(QStringLiteral("You are at the last item in the list. There are no further items."), QString(),
                      MsgIcon::Exclamation, MsgButtons::Ok);
}

void PlotViewer::CommandPrevious_Click() {
    if (FileListPlot.listIndex > 0) {
        setListIndex(FileListPlot.listIndex - 1);
        return;
    }
    services_.message(QStringLiteral("You are at the first item in the list. There are no previous items."), QString(),
                      MsgIcon::Exclamation, MsgButtons::Ok);
}

void PlotViewer::CommandPrint_Click() { printPicture(services_, *PicturePlot); }

void PlotViewer::CommandSaveAs_Click() { renderer_.savePlotAsBitmap(PicturePlot->image(), CommonDialogPlot); }

}  // namespace vormgui
