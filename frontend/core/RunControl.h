// File > Run's checks and the short path form of a folder.
#pragma once

#include <QString>
#include <optional>

#include "JobFile.h"
#include "mGlobalVariables.h"

namespace vormgui {

// Title of the boxes of the checks below.
inline const QString kNotReadyTitle = QStringLiteral("Not ready to run!");

// The first reason, in Run's order, why the job cannot go to the engine, or
// nothing when it can.  The model, data file and format come from the
// record, the variable-categories check from the Item Definitions page and
// the Model menu; then every value that the job file will carry is checked
// against the range the engine takes, since the engine would take an answer
// outside it from the next line and read every later answer one line late.
// Those messages name the value and its page.
std::optional<QString> runRefusal(const JobSettings& job, const JobControls& controls);

// The folder with every path component that holds a blank turned into its
// first six non-blank characters in upper case, "~1" and its extension of at
// most three characters, upper case; other components stay as they are.
// Separator '/'.  Not applied: the engine takes its arguments separately.
QString shortPathName(const QString& path);

}  // namespace vormgui
