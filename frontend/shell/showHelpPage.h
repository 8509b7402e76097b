// Opening a page of the help folder: every Help button and the Help menu.
#pragma once

#include <QString>

namespace vormgui {

class Services;

// Opens helpDir + page in a help window of its own.  When it cannot be shown
// the user gets "Help html file is not available!", titled with the reason.
void showHelpPage(Services& services, const QString& helpDir, const QString& page);

}  // namespace vormgui
