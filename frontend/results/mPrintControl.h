// Printing a drawn plot (the plot windows).
#pragma once

class QPainter;

namespace vormgui {

class PictureBox;
class Services;

// Offers the printer choice and paints the picture's drawing on the page at
// the picture box's size (not scaled to the page), one inch right of and
// below the top left corner of the printable area, inside a thin black
// frame, then says "Print Job Done".  The plot is painted at the printer's
// resolution, its lines and texts as they are, not as the screen's pixels.
// A cancelled choice or a failed print ends it without any message.
void printPicture(Services& services, const PictureBox& picture);

// The page of printPicture on a painter whose device has its origin at the
// printable area's top left corner.
void drawPictureOnPage(QPainter& page, const PictureBox& picture);

}  // namespace vormgui
