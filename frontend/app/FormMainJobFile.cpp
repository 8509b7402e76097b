// The main window's job file commands: the writer behind every job file, and
// File Open, Save and Save As.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

#include "FormMain.h"
#include "core/JobFile.h"
#include "core/JobPagesAccess.h"
#include "platform/OutputFile.h"
#include "shell/mayReplaceFile.h"

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

QString FormMain::jobFolder() const {
    return jobSettings.jobFileName.isEmpty() ? paths_.appDir() : QFileInfo(jobSettings.jobFileName).absolutePath();
}

std::optional<QByteArray> FormMain::jobText() const {
    if (!jobPages_) return std::nullopt;
    return jobFileText(jobControls(), jobSettings, jobSettings.appDir, nullptr);
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
    JobControls controls = jobControls();
    if (path == paths_.workFile(QStringLiteral("CMDFLE")))
        controls.dataFile = resolvedDataFile(controls.dataFile, jobFolder());
    QString why;
    const std::optional<QByteArray> text = jobFileText(controls, jobSettings, jobSettings.appDir, &why);
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

bool FormMain::mayDropJob() {
    if (!jobPages_ || !keptJob_ || jobText() == keptJob_) return true;
    switch (services_.message(QStringLiteral("The job has been changed. Do you want to save it?"), kTitle,
                              MsgIcon::Question, MsgButtons::YesNoCancel)) {
        case MsgAnswer::Yes:
            return jobSettings.jobFileName.isEmpty() ? saveAs() : save();
        case MsgAnswer::No:
            return true;
        default:
            return false;
    }
}

void FormMain::mnuOpenitem_Click() {
    if (!mayDropJob()) return;
    CommonDialogMain.fileName.clear();
    if (!services_.chooseOpenFile(CommonDialogMain)) return;
    const QString path = CommonDialogMain.fileName;
    // Read before the reset, which writes the work folder's CMDFLE: that
    // file may be the one chosen.
    const OutputFileRead read = readOutputFile(path, kMaxJobFileBytes);
    QString why = read.status == OutputFileRead::Status::NotAFile ? QStringLiteral("It is not a plain file")
                  : read.status == OutputFileRead::Status::TooLarge
                      ? QStringLiteral("The file is larger than any job file")
                      : read.reason;
    // A file picked by mistake costs nothing: it is read into a job of its
    // own first, and the job, the pages and the last run's outputs stay as
    // they are when it is refused.
    bool valid = read.status == OutputFileRead::Status::Ok;
    if (valid) {
        const auto trial = std::make_unique<JobSettings>();
        setNewJobDefaults(*trial);
        JobControls trialControls;
        valid = readJobFile(read.bytes, *trial, trialControls, &why);
    }
    if (!valid) {
        services_.message(QStringLiteral("Invalid command file! Please open a valid one!\n%1").arg(why), kTitle,
                          MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    newJob();
    // The same bytes are read the same way: only what the reset left differs.
    JobControls controls = jobControls();
    readJobFile(read.bytes, jobSettings, controls, nullptr);
    setModelNumber(jobSettings.modelNumber);
    jobPages_->showJob(controls, jobSettings);
    // The data file stays named as the file names it; a relative name is
    // taken from beside the job file where it is used (jobFolder).
    jobSettings.jobFileName = path;
    keptJob_ = jobText();
}

bool FormMain::saveJobAs(const QString& path) {
    // A data file named relative to the job's folder would be looked for
    // beside the new file: a job saved elsewhere names it in full.
    const QString from = jobFolder();
    if (QFileInfo(path).absolutePath() != QDir::cleanPath(from)) {
        jobSettings.dataFileName = resolvedDataFile(jobSettings.dataFileName, from);
        jobPages_->setDataFile(resolvedDataFile(jobControls().dataFile, from));
    }
    jobSettings.jobFileName = path;
    const std::optional<QByteArray> text = saveJob(path);
    if (text) keptJob_ = text;
    return text.has_value();
}

bool FormMain::save() {
    if (jobSettings.jobFileName.isEmpty()) {
        if (!services_.chooseSaveFile(CommonDialogMain)) return false;
        return saveJobAs(CommonDialogMain.fileName);
    }
    return saveJobAs(jobSettings.jobFileName);
}

bool FormMain::saveAs() {
    if (!services_.chooseSaveFile(CommonDialogMain)) return false;
    const QString path = CommonDialogMain.fileName;
    if (!mayReplaceFile(services_, path, kTitle)) return false;
    return saveJobAs(path);
}

void FormMain::mnuSaveItem_Click() { save(); }

void FormMain::mnuSaveAsItem_Click() { saveAs(); }

}  // namespace vormgui
