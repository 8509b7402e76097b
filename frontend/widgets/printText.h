// Printing a text: the job from File > Print and the report viewers.
#pragma once

#include <QString>
#include <QStringList>

namespace vormgui {

class Services;

// Offers the printer choice, prints the text at 12 points in a fixed-pitch
// face from the top left of the printable area (long texts run on to more
// pages) and says "Print Job Done!".  A line wider than the page goes on in
// pieces cut at the page's edge.  A cancelled choice or a failed print ends
// it without any message.
void printText(Services& services, const QString& text);

// The same for a report viewer's text, whose fixed columns hold numbers and
// words: a line wider than the page is broken as reportLinePieces says, so
// that no field is split.
void printReport(Services& services, const QString& text);

// The printed lines of one report line, at most `width` characters each:
// the line without its trailing blanks while it fits; otherwise broken at
// the last blank that fits, the blanks there dropped, and the rest indented
// by kReportIndent characters (at most half the width) on the next lines,
// broken the same way.  A piece with no blank to break at, past its leading
// blanks, is cut at the edge.
QStringList reportLinePieces(const QString& line, qsizetype width);
constexpr qsizetype kReportIndent = 4;

}  // namespace vormgui
