// The question every Save As asks before it replaces a file.
#pragma once

#include <QString>

namespace vormgui {

class Services;

// True when nothing is at `path`, or the user answered Yes to "File  '<path>'
// exists! Do you want to overwrite it?" (question icon, Yes and No, titled
// `title`); false when the user answered No.
bool mayReplaceFile(Services& services, const QString& path, const QString& title);

}  // namespace vormgui
