#include "ReportWindows.h"

#include <QAction>
#include <QFile>

#include "FormPlotFrequency.h"
#include "FormTextOutput.h"
#include "platform/AppPaths.h"
#include "platform/FileListing.h"
#include "platform/Services.h"
#include "shell/FormMain.h"

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

void attachReportWindows(FormMain& form, Services& services, const AppPaths& paths) {
    QAction* const entries[] = {form.mnuExeInfo, form.mnuItemPara, form.mnuPersonPara, form.mnuFitStat};
    for (std::size_t k = 0; k < kTextOutputs.size(); ++k) {
        auto* viewer = new FormTextOutput(kTextOutputs[k], services, paths.helpDir(), &form);
        form.attach(entries[k], [viewer, &services, paths] {
            const QString unitFile = QString::fromLatin1(viewer->kind().unitFile);
            QByteArray bytes;
            if (!readWorkOutput(services, paths, unitFile, bytes)) return;
            viewer->setContent(bytes);
            services.showModal(*viewer);
        });
    }

    auto* chart = new FormPlotFrequency(services, paths, &form);
    form.attach(form.mnuResponseFrequency, [chart, &services] {
        if (chart->Form_Load()) services.showModal(*chart);
    });
}

}  // namespace vormgui
