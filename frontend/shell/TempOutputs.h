// The work folder as one VORM holds it, and removing the previous run's
// outputs from it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;

namespace vormgui {

// Deletes every entry of `workFolder` but its folders whose name begins with
// "ft" or "plot" in any letter case, with or without an extension: the
// engine's unit files and plot file pairs, and pipes and links of those names
// (a link goes, never its target).  `status`, `CMDFLE` and every other file
// stay.
// One listing is taken first and each file is tried once, so a file that
// cannot be deleted never keeps the loop going.  Returns the names that
// could not be deleted.  `remove` deletes one path (replaced in tests).
QStringList clearTempOutputs(const QString& workFolder, const std::function<bool(const QString&)>& remove = {});

// One VORM at a time owns a work folder: two started from one program folder
// would delete each other's results at start-up and write one job's reports
// beside the other's plots.  The owner holds the lock file "VORM.lock" in the
// folder until it ends; the engine keeps a lock file of its own, so the VORM
// that starts it does not stand in its way.
class WorkFolder {
public:
    static const QString kLockFile;

    explicit WorkFolder(const QString& folder);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Takes the lock unless another program holds it; a lock left by a
    // program that ended without giving it back is taken over.  True when
    // the folder is held, also when it was held already; otherwise false,
    // with *refusal saying which folder is in use and by whom, and nothing in
    // the folder is changed.
    bool hold(QString* refusal = nullptr);
    bool held() const;

    // True while an engine runs in the folder (it holds its own lock file
    // there, "VORMCALC.lock"): one that a VORM now gone started, or one
    // started by hand.  Its files are its own until it ends.
    bool engineRuns() const;

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace vormgui
