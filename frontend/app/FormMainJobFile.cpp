// The main window's job file commands: the writer behind every job file, and
// File Open, Save and Save As.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "FormMain.h"
#include "core/JobFile.h"
#include "core/JobPagesAccess.h"
#include "platform/OutputFile.h"

namespace vormgui {

namespace {
// The longest job (100 items per item, 2000 respondents) is far below this; a
// data file chosen by mistake must not be read whole.
constexpr qint64 kMaxJobFileBytes = 4 << 20;
}  // namespace

JobControls FormMain::jobControls() const {
    JobControls controls = jobPages_ ? jobPages_->controls() : JobControls{};
    controls.checkedModel = 0;
    for (int m = 8; m >= 1; --m)
        if (mnuModelitems[m - 1]->isChecked()) controls.checkedModel = m;
    return controls;
}

std::optional<QByteArray> FormMain::saveAsFile(const QString& path, QString* error) {
    const auto fail = [error](const QString& why) -> std::optional<QByteArray> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (!jobPages_) return fail(QStringLiteral("There are no job pages to write the job from"));
    if (jobSettings.useConstraint && commonModel(jobSettings.modelNumber)) {
        services_.message(QStringLiteral("Warning: Constraints are not applicable. Constraints have been removed."),
                          kTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        jobSettings.useConstraint = false;
        jobPages_->selectNoConstraint();
    }
    QString why;
    const std::optional<QByteArray> text = jobFileText(jobControls(), jobSettings, jobSettings.appDir, &why);
    if (!text) return fail(why);
    // The whole job or the file as it was: the engine must never read half a job.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(*text) != text->size() || !file.commit())
        return fail(file.errorString());
    return text;
}

std::optional<QByteArray> FormMain::saveJob(const QString& path) {
    QString why;
    std::optional<QByteArray> text = saveAsFile(path, &why);
    if (!text)
        services_.message(QStringLiteral("The job could not be written to %1.").arg(path), why, MsgIcon::Critical,
                          MsgButtons::Ok);
    return text;
}

void FormMain::mnuOpenitem_Click() {
    CommonDialogMain.fileName.clear();
    if (!services_.chooseOpenFile(CommonDialogMain)) return;
    const QString path = CommonDialogMain.fileName;
    // Read before the reset, which writes the work folder's CMDFLE: that
    // file may be the one chosen.
    const OutputFileRead read = readOutputFile(path, kMaxJobFileBytes);
    const bool opened = read.status == OutputFileRead::Status::Ok;
    const QByteArray& bytes = read.bytes;
    QString why = read.status == OutputFileRead::Status::NotAFile ? QStringLiteral("It is not a plain file")
                  : read.status == OutputFileRead::Status::TooLarge
                      ? QStringLiteral("The file is larger than any job file")
                      : read.reason;
    newJob();
    JobControls controls = jobControls();
    if (!opened || !readJobFile(bytes, jobSettings, controls, &why)) {
        newJob();
        services_.message(QStringLiteral("Invalid command file! Please open a valid one!"), why, MsgIcon::Critical,
                          MsgButtons::Ok);
        return;
    }
    // A data file named relative to the job file (the shipped example's is
    // its bare name) would be looked for in the application folder, where
    // the engine runs: it is taken from beside the job file, and the data
    // page shows where.
    if (!jobSettings.dataFileName.isEmpty() && QFileInfo(jobSettings.dataFileName).isRelative())
        jobSettings.dataFileName = controls.dataFile =
            QDir::cleanPath(QFileInfo(path).absoluteDir().filePath(jobSettings.dataFileName));
    setModelNumber(jobSettings.modelNumber);
    jobPages_->showJob(controls, jobSettings);
    jobSettings.jobFileName = path;
}

void FormMain::mnuSaveItem_Click() {
    if (jobSettings.jobFileName.isEmpty()) {
        if (!services_.chooseSaveFile(CommonDialogMain)) return;
        jobSettings.jobFileName = CommonDialogMain.fileName;
    }
    saveJob(jobSettings.jobFileName);
}

void FormMain::mnuSaveAsItem_Click() {
    if (!services_.chooseSaveFile(CommonDialogMain)) return;
    const QString path = CommonDialogMain.fileName;
    if (QFileInfo::exists(path) &&
        services_.message(QStringLiteral("File  '%1' exists! Do you want to overwrite it?").arg(path), kTitle,
                          MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    jobSettings.jobFileName = path;
    saveJob(path);
}

}  // namespace vormgui
