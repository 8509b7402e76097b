// Printing a text: the job from File > Print and the report viewers.
#pragma once

#include <QString>

namespace vormgui {

class Services;

// Offers the printer choice, prints the text at 12 points in a fixed-pitch
// face from the top left of the printable area (long lines wrap, long texts
// run on to more pages) and says "Print Job Done!".  A cancelled choice or a
// failed print ends it without any message.
void printText(Services& services, const QString& text);

}  // namespace vormgui
