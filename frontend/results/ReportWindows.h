// The report viewers and the response frequency chart as windows of the main
// window, and the Output menu entries that open them.
#pragma once

namespace vormgui {

class AppPaths;
class FormMain;
class Services;

// Creates the four text viewers and the frequency chart, owned by `form`
// and only ever hidden, and connects (and so enables) their menu entries.
// An entry whose file cannot be read shows "Output file <path> is not
// available." and no window.
void attachReportWindows(FormMain& form, Services& services, const AppPaths& paths);

}  // namespace vormgui
