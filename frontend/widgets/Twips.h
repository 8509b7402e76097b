// Window sizes and positions of the other platform are given in twips, 1440
// to the inch; here they become pixels at the widget's logical resolution.
#pragma once

#include <QWidget>

namespace vormgui {

inline int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

inline int twips(const QWidget& widget, int value) { return twipsToPixels(value, widget.logicalDpiX()); }

}  // namespace vormgui
