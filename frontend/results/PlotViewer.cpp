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
    failed_.assign(static_cast<std::size_t>(FileListPlot.names.size()), false);
    // One plot that cannot be drawn must not hide the others: the first
    // failure is told with its reason, the rest are named in one message.
    QStringList passed;
    int shown = 0;
    for (; shown < FileListPlot.names.size(); ++shown) {
        quiet_ = !passed.isEmpty();
        const bool drawn = setListIndex(shown);
        quiet_ = false;
        if (drawn) break;
        passed << FileListPlot.names.at(shown);
    }
    const QString list = passed.join(QStringLiteral(", "));
    if (shown < FileListPlot.names.size() && !passed.isEmpty())
        services_.message(
            QStringLiteral("%1 could not be drawn; the window shows %2.").arg(list, FileListPlot.names.at(shown)),
            QString(), MsgIcon::Exclamation, MsgButtons::Ok);
    else if (passed.size() > 1)
        services_.message(QStringLiteral("%1 could not be drawn.").arg(list), QString(), MsgIcon::Exclamation,
                          MsgButtons::Ok);
    if (shown == FileListPlot.names.size()) return;
    services_.showModal(*this);
}

bool PlotViewer::setListIndex(int index) {
    if (index < 0 || index >= FileListPlot.names.size()) return false;
    const int shown = FileListPlot.listIndex;
    const PictureBox::Drawn kept = PicturePlot->drawn();
    // The plot on show stays on the screen behind the renderer's message.
    PicturePlot->setUpdatesEnabled(false);
    FileListPlot.listIndex = index;
    const bool drawn = FileListPlot_Click();
    if (!drawn) {
        failed_.resize(static_cast<std::size_t>(FileListPlot.names.size()), false);
        failed_[static_cast<std::size_t>(index)] = true;
        FileListPlot.listIndex = shown;
        PicturePlot->restore(kept);
    }
    PicturePlot->setUpdatesEnabled(true);
    PicturePlot->update();
    return drawn;
}

bool PlotViewer::FileListPlot_Click() {
    if (FileListPlot.listIndex < 0 || FileListPlot.listIndex >= FileListPlot.names.size()) return false;
    const QString& folder = FileListPlot.path;
    const QString name = FileListPlot.names.at(FileListPlot.listIndex);
    const QString scriptName = name.chopped(3) + QStringLiteral("SCR");
    // The engine's names differ from the listed ones at most in letter case.
    QString scriptPath = findFile(folder, scriptName);
    if (scriptPath.isEmpty()) scriptPath = folder + scriptName;
    return drawPlot(scriptPath, folder + name);
}

bool PlotViewer::drawPlot(const QString& scriptPath, const QString& dataPath) {
    renderer_.showsMessages = !quiet_;
    const bool drawn = renderer_.plotScriptFile(PicturePlot->canvas(), scriptPath, dataPath);
    renderer_.showsMessages = true;
    return drawn;
}

int PlotViewer::drawableFrom(int index, int step) const {
    for (; index >= 0 && index < FileListPlot.names.size(); index += step)
        if (static_cast<std::size_t>(index) >= failed_.size() || !failed_[static_cast<std::size_t>(index)])
            return index;
    return -1;
}

void PlotViewer::CommandNext_Click() {
    const int next = drawableFrom(FileListPlot.listIndex + 1, 1);
    if (next >= 0) {
        setListIndex(next);
        return;
    }
    services_.message(QStringLiteral("You are at the last item in the list. There are no further items."), QString(),
                      MsgIcon::Exclamation, MsgButtons::Ok);
}

void PlotViewer::CommandPrevious_Click() {
    const int previous = FileListPlot.listIndex > 0 ? drawableFrom(FileListPlot.listIndex - 1, -1) : -1;
    if (previous >= 0) {
        setListIndex(previous);
        return;
    }
    services_.message(QStringLiteral("You are at the first item in the list. There are no previous items."), QString(),
                      MsgIcon::Exclamation, MsgButtons::Ok);
}

void PlotViewer::CommandPrint_Click() { printPicture(services_, *PicturePlot); }

void PlotViewer::CommandSaveAs_Click() { renderer_.savePlotAsBitmap(PicturePlot->image(), CommonDialogPlot); }

}  // namespace vormgui
