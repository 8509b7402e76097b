// The first start of the front end: the work folder is created and the user
// is offered copies of the example data and the manuals in the home folder.
#pragma once

#include <QString>

namespace vormgui {

class AppPaths;
class Services;

// Does nothing when the work folder exists.  Otherwise creates it and asks
// both copy questions (whatever the first answer), under `title`.  A copy that
// fails is reported once, with what failed, and the start goes on.
void firstStart(Services& services, const AppPaths& paths, const QString& title);

}  // namespace vormgui
