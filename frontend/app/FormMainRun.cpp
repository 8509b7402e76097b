// File > Run: check the job, clear the old outputs, write the job, start the
// engine on it and watch it in the run monitor.
#include "FormMain.h"
#include "core/JobFile.h"
#include "core/RunControl.h"
#include "core/StatusPoll.h"
#include "shell/FormTimer.h"
#include "shell/TempOutputs.h"

namespace vormgui {

void FormMain::mnuRunitem_Click() {
    if (!cutoffsConsistent(jobSettings)) {
        services_.message(QStringLiteral("The response cutoff for some item is inconsistent with the number of "
                                         "response categories for that item. VORM2004 will abort!!"),
                          QStringLiteral("Error!"), MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    // Every check before anything is deleted: a typo must not cost the
    // last run's results.
    if (const std::optional<QString> refusal = runRefusal(jobSettings, jobControls())) {
        services_.message(*refusal, kNotReadyTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    QString inUse;
    if (!workFolderFree(&inUse)) {
        services_.message(inUse, kNotReadyTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    // CMDFLE is not among the outputs: a job that cannot be written stops
    // the run with the outputs still there.
    const QString jobFile = paths_.workFile(QStringLiteral("CMDFLE"));
    if (!saveJob(jobFile)) return;
    // The folder was found free above, and nothing has started in it since.
    vormgui::clearTempOutputs(paths_.workDir());
    // The engine's own " start" may come after the monitor's first read; an
    // earlier run's " end" must not be taken for this run's.
    const QString status = paths_.workFile(QStringLiteral("status"));
    QString why;
    if (!writeStatusLine(status, QStringLiteral(" start"), &why)) {
        services_.message(QStringLiteral("The status file %1 could not be written.").arg(status), why,
                          MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    engineRun.engineProgram = paths_.engineProgram();
    engineRun.engineTaskId =
        services_.startEngine(engineRun.engineProgram, {jobFile, paths_.workDir()}, paths_.appDir());
    if (engineRun.engineTaskId == 0)
        services_.message(QStringLiteral("Could not start vormcalc!"), QStringLiteral("Error"), MsgIcon::Exclamation,
                          MsgButtons::Ok);
    FormTimer monitor(services_, status, engineRun, this);
    services_.showModal(monitor);
}

}  // namespace vormgui
