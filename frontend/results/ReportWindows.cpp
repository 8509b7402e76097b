#include "ReportWindows.h"

#include <QFile>

#include "FormPlotFrequency.h"
#include "FormTextOutput.h"
#include "core/StatusPoll.h"
#include "platform/FileListing.h"
#include "platform/Services.h"

namespace vormgui {

QString outputNotAvailable(const AppPaths& paths, const QString& unitFile) {
    return QStringLiteral("Output file %1 is not available.").arg(paths.workFile(unitFile));
}

bool readWorkOutput(Services& services, const AppPaths& paths, const QString& unitFile, QByteArray& bytes) {
    const QString found = findFile(paths.workDir(), unitFile);
    QFile file(found.isEmpty() ? paths.workFile(unitFile) : found);
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok)
        services.message(outputNotAvailable(paths, unitFile), file.errorString(), MsgIcon::Critical, MsgButtons::Ok);
    return ok;
}

void warnOfIncompleteRun(Services& services, const AppPaths& paths) {
    if (const std::optional<QString> warning = incompleteRunWarning(paths.workFile(QStringLiteral("status"))))
        services.message(*warning, QStringLiteral("VORM2004"), MsgIcon::Exclamation, MsgButtons::Ok);
}

ReportWindows::ReportWindows(Services& services, const AppPaths& paths, QWidget* owner)
    : services_(services), paths_(paths) {
    for (std::size_t k = 0; k < kTextOutputs.size(); ++k)
        viewers_[k] = std::make_unique<FormTextOutput>(kTextOutputs[k], services, paths.helpDir(), owner);
    chart_ = std::make_unique<FormPlotFrequency>(services, paths, owner);
}

ReportWindows::~ReportWindows() = default;

void ReportWindows::openText(std::size_t k) {
    warnOfIncompleteRun(services_, paths_);
    FormTextOutput& viewer = *viewers_.at(k);
    QByteArray bytes;
    if (!readWorkOutput(services_, paths_, QString::fromLatin1(viewer.kind().unitFile), bytes)) return;
    viewer.setContent(bytes);
    services_.showModal(viewer);
}

void ReportWindows::openFrequencyChart() {
    warnOfIncompleteRun(services_, paths_);
    if (chart_->Form_Load()) services_.showModal(*chart_);
}

}  // namespace vormgui
