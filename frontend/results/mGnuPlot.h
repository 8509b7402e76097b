// The front end's interpreter of the engine's plot scripts: draws a plot file
// pair (PlotFiles.h) with frame, titles, labels, curves, ticks and tick
// labels, and saves a drawn picture as a bitmap.
//
// One renderer serves every plot window.  Its ranges are not reset between
// plots: a script without a range line draws with the previous plot's range
// (0 to 0 before the first plot).
#pragma once

#include <QString>

class QImage;

namespace vormgui {

class Canvas;
class Services;
struct FileChoice;

class mGnuPlot {
public:
    // `title` heads the renderer's questions.
    mGnuPlot(Services& services, const QString& title);

    // Clears the picture and draws the plot of the data file with the
    // script's texts, ranges and plot line.  False, after its message, when
    // a file cannot be read or the plot cannot be drawn; what was drawn
    // before the failure stays on the picture.
    bool plotScriptFile(Canvas& picture, const QString& scriptPath, const QString& dataPath);

    // Asks for a file name (filter "*.bmp") in `dialog` and saves the picture
    // there as a Windows bitmap, ".BMP" appended to a name without it; an
    // existing file is replaced only after Yes to the overwrite question.
    // Cancel, No and a failed save end it silently.
    void savePlotAsBitmap(const QImage& picture, FileChoice& dialog);

    // The ranges that outlive a call.
    double plotXMin = 0.0, plotXMax = 0.0;
    double plotYMin = 0.0, plotYMax = 0.0;

    // False while a window looks for a plot it can draw and has said so once:
    // failures then return false without a message.
    bool showsMessages = true;

private:
    bool fail(const QString& text, const QString& title);

    Services& services_;
    QString title_;
};

// The message of a data file with more records than a plot holds.
QString overflowText();

}  // namespace vormgui
