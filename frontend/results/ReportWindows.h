// The report viewers and the response frequency chart as windows of the main
// window, and the Output menu entries that open them.
#pragma once

#include <QByteArray>
#include <QString>

namespace vormgui {

class AppPaths;
class FormMain;
class Services;

// "Output file <path> is not available." for the work folder's `unitFile`.
QString outputNotAvailable(const AppPaths& paths, const QString& unitFile);

// Reads the work folder's file `unitFile`, found in any letter case, into
// `bytes`; false, after that message titled with the reason, when it cannot
// be read.
bool readWorkOutput(Services& services, const AppPaths& paths, const QString& unitFile, QByteArray& bytes);

// Creates the four text viewers and the frequency chart, owned by `form`
// and only ever hidden, and connects (and so enables) their menu entries.
// An entry whose file cannot be read shows "Output file <path> is not
// available." and no window.
void attachReportWindows(FormMain& form, Services& services, const AppPaths& paths);

}  // namespace vormgui
