// The plot windows: one family of windows that each list the data files of
// one plot kind in the work folder and show one plot at a time, with Next and
// Previous through the list, Print and Save As.  The kinds differ only in
// what the table kPlotKinds says of them.
//
// A window is created once and only hidden; opening it reads the listing
// again and forgets the last file name of its save dialog, so nothing carries
// over from one opening to the next.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <vector>

#include "platform/Services.h"

class QPushButton;

namespace vormgui {

class PictureBox;
class mGnuPlot;

enum class Navigation { Shown, Hidden, None };

struct PlotKind {
    const char* form;  // the window's name, also its objectName
    const char* caption;
    const char* pattern;  // of its data files in the work folder
    Navigation navigation;
    // Twips: client area, picture, the button row's top and the x of Save As
    // and Print.
    int clientWidth, clientHeight;
    int pictureWidth, pictureHeight;
    int buttonY, saveAsX, printX;
    // The menu's message without files: "Plot data file " and the work
    // folder come before this text.
    const char* missing;
    MsgIcon missingIcon;
};

// The nine windows of the script renderer, then FormPlotProb.
extern const std::array<PlotKind, 10> kPlotKinds;
const PlotKind& plotKind(const QString& form);

class PlotViewer : public QDialog {
    Q_OBJECT
public:
    PlotViewer(const PlotKind& kind, Services& services, mGnuPlot& renderer, QWidget* parent);
    ~PlotViewer() override;

    const PlotKind& kind() const { return kind_; }

    // What the menu entry does: list the kind's files of the work folder;
    // without any, its message; else show the window modally on the first
    // plot it can draw.  A window that had to pass over plots says which
    // before it opens; one that can draw none stays shut.
    void open(const QString& workFolder);
    using QDialog::open;

    // The hidden file list: its current entry is the plot on show.
    struct FileList {
        QString path;  // ends in '/'
        QString pattern;
        QStringList names;
        int listIndex = -1;
    };
    FileList FileListPlot;
    PictureBox* PicturePlot;
    QPushButton* CommandPrevious = nullptr;  // none where the kind has no navigation
    QPushButton* CommandNext = nullptr;
    QPushButton* CommandSaveAs;
    QPushButton* CommandPrint;
    FileChoice CommonDialogPlot;

    // Draws the entry `index` and makes it the current one.  False, after
    // the renderer's message, when it cannot be drawn: the entry is then
    // passed over by Next and Previous, and the plot on show stays.
    bool setListIndex(int index);

    bool FileListPlot_Click();
    void CommandNext_Click();
    void CommandPrevious_Click();
    void CommandPrint_Click();
    void CommandSaveAs_Click();

protected:
    // Draws the pair on the picture; false when it could not.
    virtual bool drawPlot(const QString& scriptPath, const QString& dataPath);

    Services& services_;
    // Set while the window looks on for a plot it can draw after one failure
    // has been told: further failures are not.
    bool quiet_ = false;

private:
    // The nearest entry from `index` on in the direction `step` that is not
    // known to fail; -1 when there is none.
    int drawableFrom(int index, int step) const;

    const PlotKind& kind_;
    mGnuPlot& renderer_;
    // Per entry of the list: its drawing failed.
    std::vector<bool> failed_;
};

}  // namespace vormgui
