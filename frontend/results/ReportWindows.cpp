#include "ReportWindows.h"

#include "FormPlotFrequency.h"
#include "FormTextOutput.h"
#include "core/StatusPoll.h"
#include "platform/FileListing.h"
#include "platform/OutputFile.h"
#include "platform/Services.h"

namespace vormgui {

QString outputNotAvailable(const AppPaths& paths, const QString& unitFile) {
    return QStringLiteral("Output file %1 is not available.").arg(paths.workFile(unitFile));
}

bool readWorkOutput(Services& services, const AppPaths& paths, const QString& unitFile, QByteArray& bytes) {
    const QString found = findFile(paths.workDir(), unitFile);
    const QString path = found.isEmpty() ? paths.workFile(unitFile) : found;
    OutputFileRead read = readOutputFile(path);
    switch (read.status) {
        case OutputFileRead::Status::Ok:
            bytes = std::move(read.bytes);
            return true;
        case OutputFileRead::Status::Unreadable:
            services.message(outputNotAvailable(paths, unitFile), read.reason, MsgIcon::Critical, MsgButtons::Ok);
            return false;
        default:
            services.message(refusedFileText(read, path), QString(), MsgIcon::Critical, MsgButtons::Ok);
            return false;
    }
}

void warnOfIncompleteRun(Services& services, const AppPaths& paths, const QString& files) {
    if (listFiles(paths.workDir(), files).isEmpty()) return;
    if (const std::optional<QString> warning = incompleteRunWarning(paths.workFile(QStringLiteral("status"))))
        services.message(*warning, QStringLiteral("VORM2004"), MsgIcon::Exclamation, MsgButtons::Ok);
}

ReportWindows::ReportWindows(Services& services, const AppPaths& paths, QWidget* owner)
    : services_(services), paths_(paths), owner_(owner) {
    for (std::size_t k = 0; k < kTextOutputs.size(); ++k) viewers_[k] = newViewer(k);
    chart_ = std::make_unique<FormPlotFrequency>(services, paths, owner);
}

ReportWindows::~ReportWindows() = default;

std::unique_ptr<FormTextOutput> ReportWindows::newViewer(std::size_t k) const {
    return std::make_unique<FormTextOutput>(kTextOutputs[k], services_, paths_.helpDir(), owner_);
}

void ReportWindows::openText(std::size_t k) {
    FormTextOutput& viewer = *viewers_.at(k);
    const QString unitFile = QString::fromLatin1(viewer.kind().unitFile);
    warnOfIncompleteRun(services_, paths_, unitFile);
    QByteArray bytes;
    if (!readWorkOutput(services_, paths_, unitFile, bytes)) return;
    viewer.setContent(bytes);
    services_.showModal(viewer);
    // Its close box destroys a viewer with all it remembered; the next
    // opening finds a new one.
    if (viewer.closedByCloseBox()) viewers_[k] = newViewer(k);
}

void ReportWindows::openFrequencyChart() {
    warnOfIncompleteRun(services_, paths_, QStringLiteral("FT06F001"));
    if (chart_->Form_Load()) services_.showModal(*chart_);
}

}  // namespace vormgui
