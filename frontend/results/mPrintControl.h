// Printing a drawn plot (the plot windows).
#pragma once

#include <QString>

class QImage;
class QPainter;

namespace vormgui {

class Services;

// Offers the printer choice and prints the picture at its size on the screen
// (the size its image's resolution gives it, not scaled to the page), one
// inch right of and below the top left corner of the printable area, inside
// a thin black frame, then says "Print Job Done".  A cancelled choice or a
// failed print ends it without any message.
void printPicture(Services& services, const QImage& picture);

// The page of printPicture on a painter whose device has `pageDpi` dots per
// inch and its origin at the printable area's top left corner.
void drawPictureOnPage(QPainter& page, const QImage& picture, double pageDpi);

}  // namespace vormgui
