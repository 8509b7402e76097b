// The main window "VORM2004": start-up (splash, folders, first start, grid
// headings, job reset), the menu tree, the model choice, help, printing the
// job, and the program's two ends (Exit keeps the outputs, closing the window
// removes them).
//
// Later windows plug in here: a job page registers with addPage() before
// Form_Load(); a menu entry gets its action with attach(), which also enables
// it (entries without an action stay disabled); the pages as a whole come in
// through setJobPages(), which enables Open, Save, Save As, Run and Print.
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/mGlobalVariables.h"
#include "platform/AppPaths.h"
#include "platform/Services.h"
#include "shell/TempOutputs.h"
#include "shell/mCloseApp.h"

class QAction;
class QMenu;

namespace vormgui {

class JobPage;
class JobPagesAccess;
struct JobControls;

class FormMain : public QMainWindow {
    Q_OBJECT
public:
    // The title of the window and of its questions.
    static const QString kTitle;

    FormMain(Services& services, const AppPaths& paths, QWidget* parent = nullptr);
    ~FormMain() override;

    JobSettings jobSettings;
    // The engine of the last Run.
    EngineRun engineRun;
    // The one file dialog of Open, Save and Save As: a name or filter set by
    // one command is still there for the next.
    FileChoice CommonDialogMain;

    // A page created by the front end, reset by newJob and headed at start-up.
    void addPage(JobPage& page);
    // Gives `entry` its action and enables it.
    void attach(QAction* entry, std::function<void()> action);

    // The job pages that the job file is written from and opened into.
    void setJobPages(JobPagesAccess& pages);
    // What the pages and the Model menu show.
    JobControls jobControls() const;
    // Writes the current job as a job file to `path`, whole or not at all, and
    // returns the bytes written.  A constraint that the model cannot have is
    // first taken back with a warning.  The data file goes out as the job
    // holds it; only the work folder's CMDFLE, which the engine reads from
    // the application folder, names one relative to the job's folder in
    // full.  Nothing, with *error describing the failure, when it fails;
    // nothing is written without job pages.
    std::optional<QByteArray> saveAsFile(const QString& path, QString* error = nullptr);
    // The folder that a relative data file name is taken from: the job
    // file's, or the application folder (where the engine runs) for a job
    // that has no file yet.
    QString jobFolder() const;

    // The start-up; false when another VORM holds the work folder: this one
    // has said so and ends, having changed nothing there.
    bool Form_Load();
    void Form_Unload();
    // The default job: old outputs removed, record and registered pages reset,
    // the job written to the work folder's CMDFLE.
    void newJob();
    // Removes the previous run's outputs, holding the work folder first
    // (nothing here deletes a file of a folder that another VORM holds, nor
    // one of a run that an engine is still writing).  False, with *refusal
    // saying why, when the folder is held elsewhere: then nothing is deleted.
    bool clearTempOutputs(QString* refusal = nullptr);
    // Whether clearTempOutputs would delete: the folder held, no engine
    // running in it; false, with *refusal saying why, when not.
    bool workFolderFree(QString* refusal = nullptr);
    // Sets modelNumber and the Model menu's check marks in one step: the item
    // of a model 1 to 8 checked and the other seven cleared, none for any
    // other number.
    void setModelNumber(int model);
    void showHelpPage(const QString& page);

    // Menu handlers.  New, Open and Exit, like the window's close box, first
    // ask whether a changed job is to be saved.
    void mnuNewitem_Click();
    void mnuOpenitem_Click();
    void mnuSaveItem_Click();
    void mnuSaveAsItem_Click();
    void mnuRunitem_Click();
    void mnuSetPrinter_Click();
    void mnuPrintItem_Click();
    void mnuExititem_Click();
    void mnuModelitem_Click(int model);
    void mnuTopicitem_Click();
    void mnuAboutitem_Click();

    // The menu tree; objectNames as the members' names.
    QMenu* mnuFile;
    QAction* mnuNewitem;
    QAction* mnuOpenitem;
    QAction* mnuSeparateitem2;
    QAction* mnuSaveItem;
    QAction* mnuSaveAsItem;
    QAction* mnuSeparateitem3;
    QAction* mnuRunitem;
    QAction* mnuSeparateitem4;
    QAction* mnuSetPrinter;
    QAction* mnuPrintItem;
    QAction* mnuSeparateitem5;
    QAction* mnuExititem;
    QMenu* mnuData;
    QAction* mnuReaddataitem;
    QAction* mnuDefinitionitem;
    QMenu* mnuDiscarddataitem;
    QAction* mnuResponseitem;
    QAction* mnuDeleteItemsitem;
    QAction* mnuDeleteSubjectitem;
    QMenu* mnuEstimate;
    QMenu* mnuModelitem;
    std::array<QAction*, 8> mnuModelitems;  // mnuModel1item .. mnuModel8item
    QAction* mnuInitialValues;
    QAction* munQuadratureitem;
    QAction* mnuAlgorithmitem;
    QAction* munConstraintitem;
    QMenu* munItemPriorsitem;
    QAction* munDeltaitem;
    QAction* mnuAlphaitem;
    QAction* mnuTauitem;
    QMenu* mnuFit;
    QMenu* munStatisticsitem;
    QAction* mnuFitGroups;
    QAction* mnuItemfititem;
    QAction* mnuPersonfititem;
    QAction* mnuPlotitem;
    QMenu* mnuOutput;
    QMenu* mnuTextOutputitem;
    QAction* mnuExeInfo;
    QAction* mnuItemPara;
    QAction* mnuPersonPara;
    QAction* mnuFitStat;
    QMenu* mnuGraphOutputitem;
    QAction* mnuResponseFrequency;
    QAction* mnuItemFitPlot;
    QAction* mnuProbability;
    QAction* mnuItemCharacteristicCurve;
    QAction* mnuTestCharacteristicCurve;
    QAction* mnuInfoCurve;
    QAction* mnuTestInfoCurve;
    QAction* mnuExpectedObservedResponse;
    QAction* mnuEATEstimateDistribution;
    QAction* mnuItemLocationEstimates;
    QAction* mnuLatentTraitDistribution;
    QMenu* mnuHelp;
    QAction* mnuTopicitem;
    QAction* mnuSeparateitem1;
    QAction* mnuAboutitem;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // saveAsFile, with a box when the job could not be written.
    std::optional<QByteArray> saveJob(const QString& path);
    // Save and Save As; true when the job was written.
    bool save();
    bool saveAs();
    // The job becomes the file at `path` and is written there.
    bool saveJobAs(const QString& path);
    // The job as the writer would write it now; nothing when it cannot be.
    std::optional<QByteArray> jobText() const;
    // Before the job is replaced or the program ends: true when nothing
    // would be lost, or the user had the changes saved or answered No;
    // false when the user cancelled or the save did not happen.
    bool mayDropJob();

    Services& services_;
    AppPaths paths_;
    WorkFolder workFolder_;
    std::vector<JobPage*> pages_;
    JobPagesAccess* jobPages_ = nullptr;
    bool ending_ = false;  // Exit or unload has ended the program
    // The writer's text of the job as last made new, opened or saved.
    std::optional<QByteArray> keptJob_;
};

}  // namespace vormgui
