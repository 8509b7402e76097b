// The report viewers and the response frequency chart, and what their Output
// menu entries do.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>

#include "platform/AppPaths.h"

class QWidget;

namespace vormgui {

class FormPlotFrequency;
class FormTextOutput;
class Services;

// "Output file <path> is not available." for the work folder's `unitFile`.
QString outputNotAvailable(const AppPaths& paths, const QString& unitFile);

// Reads the work folder's file `unitFile`, found in any letter case, into
// `bytes`; false, after that message titled with the reason, when it cannot
// be read, or after a message saying why when it is refused unread (not a
// regular file, or far too large).
bool readWorkOutput(Services& services, const AppPaths& paths, const QString& unitFile, QByteArray& bytes);

// What every output entry does first when its files are there (`files`, a
// name or a pattern as listFiles takes it): when the last run did not
// complete, one message says so, with the reason its status file gives.
// Files that New, Open or a later Run deleted belong to no run, so an entry
// without its files shows only that they are not available.
void warnOfIncompleteRun(Services& services, const AppPaths& paths, const QString& files);

class ReportWindows {
public:
    // The four text viewers and the frequency chart, children of `owner`;
    // this object must die before `owner`.  A viewer closed with its close
    // box is made anew, every other window is only ever hidden.
    ReportWindows(Services& services, const AppPaths& paths, QWidget* owner);
    ~ReportWindows();

    // The viewer of kTextOutputs[k] over its file, shown modally.  A file
    // that cannot be read shows "Output file <path> is not available." and
    // no window.  Both openers warn first of a run that did not complete
    // when the file is there.
    void openText(std::size_t k);
    // The chart over the report's frequency table, shown modally unless the
    // table cannot be read (its message instead).
    void openFrequencyChart();

private:
    std::unique_ptr<FormTextOutput> newViewer(std::size_t k) const;

    Services& services_;
    AppPaths paths_;
    QWidget* owner_;
    std::array<std::unique_ptr<FormTextOutput>, 4> viewers_;
    std::unique_ptr<FormPlotFrequency> chart_;
};

}  // namespace vormgui
