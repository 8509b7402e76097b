// Removing the previous run's outputs from the work folder.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vormgui {

// Deletes every plain file of `workFolder` whose name begins with "ft" or
// "plot" in any letter case, with or without an extension: the engine's unit
// files and plot file pairs.  `status`, `CMDFLE` and every other file stay.
// One listing is taken first and each file is tried once, so a file that
// cannot be deleted never keeps the loop going.  Returns the names that
// could not be deleted.  `remove` deletes one path (replaced in tests).
QStringList clearTempOutputs(const QString& workFolder, const std::function<bool(const QString&)>& remove = {});

}  // namespace vormgui
