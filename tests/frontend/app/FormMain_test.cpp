#include "app/FormMain.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "JobTestSupport.h"
#include "core/JobPage.h"
#include "gui_test_support.h"
#include "widgets/RecordingServices.h"

namespace vormgui {
namespace {

using test::readFile;
using test::TempFolder;
using test::treeOf;
using test::writeFile;

// A page as the main window sees it: what it was told, in order.
class FakePage : public JobPage {
public:
    explicit FakePage(QString name) : name_(std::move(name)) {}
    QString pageName() const override { return name_; }
    void newJob(const JobSettings& job) override { resets << job.numItems; }
    void setGridHeading(const QString& heading) override { headings << heading; }

    QList<int> resets;  // numItems of the record at each reset
    QStringList headings;

private:
    QString name_;
};

// An installed program in a temporary folder: app/ with its help pages,
// examples and manuals, the work folder app/TEMPFILE/ and a home folder.
class FormMainTest : public ::testing::Test {
protected:
    FormMainTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir(root.path()).mkpath(QStringLiteral("app/help"));
        QDir(root.path()).mkpath(QStringLiteral("app/examples"));
        QDir(root.path()).mkpath(QStringLiteral("app/manual"));
        QDir(root.path()).mkpath(QStringLiteral("home"));
        writeFile(paths.helpDir() + "Topic.htm", "<html><body>topics</body></html>");
        writeFile(paths.examplesDir() + "EXAMPLE.DAT", "data");
        writeFile(paths.examplesDir() + "EXAMPLE.CMD", "job");
        for (const char* name : {"uguide.pdf", "techman.pdf", "readme.txt"})
            writeFile(paths.manualDir() + name, QByteArray("contents of ") + name);
    }

    void attachPages(FormMain& form) {
        form.addPage(pages);
        form.setJobPages(pages);
    }

    QString cmdfle() const { return paths.workFile(QStringLiteral("CMDFLE")); }

    TempFolder root;
    AppPaths paths;
    RecordingServices rec;
    test::FakeJobPages pages;
};

TEST_F(FormMainTest, FirstStartShowsTheSplashAsksBothQuestionsAndThenResetsTheJob) {
    FormMain form(rec, paths);
    attachPages(form);
    rec.answers = {MsgAnswer::No, MsgAnswer::Yes};
    form.Form_Load();

    const QString home = root.file("home/");
    EXPECT_EQ(
        rec.log,
        (QStringList{"modal FormFlash",
                     "message VORM2004: Copy example files to directory '" + home + "VORM2004/Examples/'?",
                     "message VORM2004: Copy manual and readme files to directory '" + home + "VORM2004/Manual/'?"}));
    for (const auto& m : rec.messages) {
        EXPECT_EQ(m.icon, MsgIcon::None);
        EXPECT_EQ(m.buttons, MsgButtons::YesNo);
    }
    EXPECT_EQ(treeOf(home), (QStringList{"VORM2004/", "VORM2004/Manual/", "VORM2004/Manual/readme.txt",
                                         "VORM2004/Manual/techman.pdf", "VORM2004/Manual/uguide.pdf"}));
    EXPECT_EQ(readFile(home + "VORM2004/Manual/techman.pdf"), "contents of techman.pdf");
    EXPECT_TRUE(QFile::exists(cmdfle()));
    EXPECT_EQ(form.jobSettings.helpDir, paths.appDir() + "help/");
    EXPECT_EQ(form.jobSettings.appDir, paths.appDir());
}

TEST_F(FormMainTest, AStartWithAWorkFolderAsksNothingAndRemovesTheLastRunsOutputs) {
    QDir().mkpath(paths.workDir());
    for (const char* name : {"FT06F001", "PLOT1A.DAT", "PLOT1A.SCR", "status"}) writeFile(paths.workFile(name), "x");
    FormMain form(rec, paths);
    attachPages(form);
    form.Form_Load();

    EXPECT_EQ(rec.log, (QStringList{"modal FormFlash"}));
    EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "VORM.lock", "status"}));
    EXPECT_TRUE(treeOf(root.file("home")).isEmpty());
}

// The files of a folder with their contents.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : treeOf(folder)) files[name] = readFile(folder + name);
    return files;
}

// Another program holds the work folder: this VORM says which folder is in
// use, ends, and neither its start, nor Run, nor a new job, nor closing the
// window changes a file there.  Once the holder has gone without giving the
// folder back, the next start takes it over; while a VORM holds it, another
// program cannot.
TEST_F(FormMainTest, AWorkFolderHeldByAnotherProgramIsLeftAsItIs) {
    QDir().mkpath(paths.workDir());
    for (const char* name : {"FT06F001", "FT16F001", "PLOT2A.DAT", "status", "CMDFLE"})
        writeFile(paths.workFile(name), QByteArray("of the first VORM: ") + name);
    const auto holder = [&](QProcess& process) {
        process.start(QStringLiteral(VORM_HOLD_WORK_FOLDER), {paths.workDir()});
        // A guard against hanging only.
        EXPECT_TRUE(process.waitForReadyRead(60000));
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    };
    QProcess first;
    ASSERT_EQ(holder(first), "held");
    const QMap<QString, QByteArray> before = contentsOf(paths.workDir());
    {
        FormMain form(rec, paths);
        attachPages(form);
        EXPECT_FALSE(form.Form_Load());
        const QString inUse = QStringLiteral("The work folder %1 is in use by another VORM (process %2).")
                                  .arg(paths.workDir())
                                  .arg(first.processId());
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.messages[0].text, inUse + "\nThis VORM ends without touching anything in it.");
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(rec.log.last(), "end");
        form.mnuNewitem->trigger();
        form.mnuModelitems[3]->trigger();
        form.jobSettings.dataFileName = "EXAMPLE.DAT";
        form.jobSettings.fortranFormat = "(I5,1X,2I1)";
        form.mnuRunitem->trigger();
        EXPECT_EQ(rec.messageTexts().last(), inUse);
        EXPECT_TRUE(rec.log.filter("start").isEmpty());
        form.show();
        form.close();
    }
    EXPECT_EQ(contentsOf(paths.workDir()), before);

    first.kill();
    first.waitForFinished();
    EXPECT_TRUE(QFile::exists(paths.workFile(WorkFolder::kLockFile))) << "the killed holder left its lock";
    rec.messages.clear();
    FormMain form(rec, paths);
    attachPages(form);
    EXPECT_TRUE(form.Form_Load());
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "VORM.lock", "status"}));
    QProcess second;
    EXPECT_EQ(holder(second), QStringLiteral("The work folder %1 is in use by another VORM (process %2).")
                                  .arg(paths.workDir())
                                  .arg(QCoreApplication::applicationPid()));
    EXPECT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 1);

    // An engine still running in the folder (one a VORM now gone started)
    // keeps its files: neither a new job nor Run deletes them until it ends.
    for (const char* name : {"FT06F001", "PLOT2A.DAT"}) writeFile(paths.workFile(name), "of a running engine");
    const QByteArray lockPath = QFile::encodeName(paths.workFile("VORMCALC.lock"));
    const int engineLock = open(lockPath.constData(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(engineLock, 0);
    ASSERT_EQ(flock(engineLock, LOCK_EX | LOCK_NB), 0);
    const QMap<QString, QByteArray> running = contentsOf(paths.workDir());
    rec.messages.clear();
    form.mnuNewitem->trigger();
    form.mnuModelitems[3]->trigger();
    form.jobSettings.dataFileName = "EXAMPLE.DAT";
    form.jobSettings.fortranFormat = "(I5,1X,2I1)";
    form.mnuRunitem->trigger();
    EXPECT_EQ(contentsOf(paths.workDir()), running);
    EXPECT_EQ(rec.messageTexts(), QStringList{"An engine is still running in the work folder " + paths.workDir() +
                                              "; its files are left as they are until it ends."});
    close(engineLock);
    form.mnuNewitem->trigger();
    EXPECT_FALSE(QFile::exists(paths.workFile("FT06F001"))) << "once the engine has ended, its outputs go";
}

TEST_F(FormMainTest, AFailedCopyIsReportedOnceAndTheStartGoesOn) {
    QDir(paths.manualDir()).removeRecursively();
    FormMain form(rec, paths);
    attachPages(form);
    rec.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    form.Form_Load();

    const QString manual = root.file("home/VORM2004/Manual/");
    ASSERT_EQ(rec.messages.size(), 3u);
    const auto& failure = rec.messages[2];
    EXPECT_TRUE(failure.text.startsWith("Could not copy the manual and readme files to directory '" + manual +
                                        "':\nuguide.pdf: "))
        << failure.text.toStdString();
    EXPECT_TRUE(failure.text.contains("\ntechman.pdf: ") && failure.text.contains("\nreadme.txt: "));
    EXPECT_FALSE(failure.title.isEmpty()) << "the failure's description is the title";
    EXPECT_TRUE(QFile::exists(cmdfle()));
    EXPECT_EQ(treeOf(root.file("home/VORM2004/Examples/")), (QStringList{"EXAMPLE.CMD", "EXAMPLE.DAT"}));
}

TEST_F(FormMainTest, StartUpHeadsTheFiveGridsAndTheJobResetReachesEveryPage) {
    const struct {
        const char* page;
        const char* heading;
    } expected[] = {{"FormManualAssign", "Sign"},
                    {"FormCategories", "No. of Categories"},
                    {"FormCutoff", "Response Cutoffs"},
                    {"FormItemsDiscarded", "Item No."},
                    {"FormSubjectsDiscarded", "Respondent ID"},
                    {"FormDataFile", nullptr}};
    std::vector<std::unique_ptr<FakePage>> pages;
    FormMain form(rec, paths);
    for (const auto& e : expected) {
        pages.push_back(std::make_unique<FakePage>(QString::fromLatin1(e.page)));
        form.addPage(*pages.back());
    }
    form.Form_Load();
    for (std::size_t k = 0; k < pages.size(); ++k) {
        const QStringList heading = expected[k].heading ? QStringList{expected[k].heading} : QStringList{};
        EXPECT_EQ(pages[k]->headings, heading) << expected[k].page;
        EXPECT_EQ(pages[k]->resets, QList<int>{2}) << expected[k].page;
    }

    form.jobSettings.numItems = 5;
    form.setModelNumber(3);
    form.jobSettings.jobFileName = QStringLiteral("/jobs/five.cmd");
    writeFile(paths.workFile("FT16F001"), "x");
    form.mnuNewitem->trigger();
    EXPECT_EQ(pages[2]->resets, (QList<int>{2, 2})) << "pages are reset after the record";
    EXPECT_EQ(form.jobSettings.numItems, 2);
    EXPECT_EQ(form.jobSettings.modelNumber, 0);
    EXPECT_TRUE(form.jobSettings.jobFileName.isEmpty());
    for (QAction* item : form.mnuModelitems) EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(QFile::exists(paths.workFile("FT16F001")));
}

// One row per menu entry, depth first: depth, caption ("-" for a separator),
// control name, shortcut, shown.
struct MenuRow {
    int depth;
    QString caption;
    QString name;
    QString shortcut;
    bool shown;
    bool operator==(const MenuRow&) const = default;
};

void PrintTo(const MenuRow& r, std::ostream* os) {
    *os << r.depth << " '" << r.caption.toStdString() << "' " << r.name.toStdString() << " '"
        << r.shortcut.toStdString() << "' " << (r.shown ? "shown" : "hidden");
}

void collect(const QList<QAction*>& actions, int depth, std::vector<MenuRow>& rows) {
    for (QAction* a : actions) {
        rows.push_back({depth, a->isSeparator() ? QStringLiteral("-") : a->text(), a->objectName(),
                        a->shortcut().toString(QKeySequence::PortableText), a->isVisible()});
        if (a->menu()) collect(a->menu()->actions(), depth + 1, rows);
    }
}

TEST_F(FormMainTest, MenuTreeHasTheCaptionsShortcutsAndHiddenEntries) {
    const std::vector<MenuRow> expected = {
        {0, "&File", "mnuFile", "", true},
        {1, "&New", "mnuNewitem", "Ctrl+N", true},
        {1, "&Open", "mnuOpenitem", "Ctrl+O", true},
        {1, "-", "mnuSeparateitem2", "", true},
        {1, "&Save", "mnuSaveItem", "Ctrl+S", true},
        {1, "S&ave as...", "mnuSaveAsItem", "", true},
        {1, "-", "mnuSeparateitem3", "", true},
        {1, "&Run", "mnuRunitem", "", true},
        {1, "-", "mnuSeparateitem4", "", false},
        {1, "&Set Printer", "mnuSetPrinter", "", false},
        {1, "&Print", "mnuPrintItem", "Ctrl+P", true},
        {1, "-", "mnuSeparateitem5", "", true},
        {1, "E&xit", "mnuExititem", "", true},
        {0, "&Data", "mnuData", "", true},
        {1, "&Read Data...", "mnuReaddataitem", "", true},
        {1, "&Item Definitions", "mnuDefinitionitem", "", true},
        {1, "&Discard Data", "mnuDiscarddataitem", "", true},
        {2, "Response &Cutoffs", "mnuResponseitem", "", true},
        {2, "Delete &Items", "mnuDeleteItemsitem", "", true},
        {2, "Delete &Respondents", "mnuDeleteSubjectitem", "", true},
        {0, "&Estimate", "mnuEstimate", "", true},
        {1, "&Model", "mnuModelitem", "", true},
        {2, "Model &1", "mnuModel1item", "", true},
        {2, "Model &2", "mnuModel2item", "", true},
        {2, "Model &3", "mnuModel3item", "", true},
        {2, "Model &4", "mnuModel4item", "", true},
        {2, "Model &5", "mnuModel5item", "", true},
        {2, "Model &6", "mnuModel6item", "", true},
        {2, "Model &7", "mnuModel7item", "", true},
        {2, "Model &8", "mnuModel8item", "", true},
        {1, "&Initial Values", "mnuInitialValues", "", true},
        {1, "&Quadrature", "munQuadratureitem", "", true},
        {1, "&Algorithm", "mnuAlgorithmitem", "", true},
        {1, "&Constraints", "munConstraintitem", "", true},
        {1, "&Item Priors ", "munItemPriorsitem", "", false},
        {2, "&Delta", "munDeltaitem", "", true},
        {2, "&Alpha", "mnuAlphaitem", "", true},
        {2, "&TAU", "mnuTauitem", "", true},
        {0, "F&it", "mnuFit", "", true},
        {1, "&Statistics", "munStatisticsitem", "", true},
        {2, "&Fit Groups", "mnuFitGroups", "", true},
        {2, "&Item Fit", "mnuItemfititem", "", true},
        {2, "&Person Fit", "mnuPersonfititem", "", true},
        {1, "&Plots", "mnuPlotitem", "", true},
        {0, "&Output", "mnuOutput", "", true},
        {1, "&Text Output", "mnuTextOutputitem", "", true},
        {2, "&Execution Information", "mnuExeInfo", "", true},
        {2, "&Item Parameters", "mnuItemPara", "", true},
        {2, "&Person Parameters", "mnuPersonPara", "", true},
        {2, "&Fit Statistics", "mnuFitStat", "", true},
        {1, "&Graph Output", "mnuGraphOutputitem", "", true},
        {2, "&Response Frequency", "mnuResponseFrequency", "", true},
        {2, "&Item Fit Plot", "mnuItemFitPlot", "", true},
        {2, "&Category Probability", "mnuProbability", "", true},
        {2, "&Item Characteristic Curve", "mnuItemCharacteristicCurve", "", true},
        {2, "&Test Characteristic Curve", "mnuTestCharacteristicCurve", "", true},
        {2, "&Item Information Curve", "mnuInfoCurve", "", true},
        {2, "&Test Information Curve", "mnuTestInfoCurve", "", true},
        {2, "&Expected Observed Response", "mnuExpectedObservedResponse", "", true},
        {2, "&EAP Estimate Distribution", "mnuEATEstimateDistribution", "", true},
        {2, "&Item Location Estimates", "mnuItemLocationEstimates", "", true},
        {2, "&Latent Trait Distribution", "mnuLatentTraitDistribution", "", true},
        {0, "&Help", "mnuHelp", "", true},
        {1, "&Help Topic", "mnuTopicitem", "", true},
        {1, "-", "mnuSeparateitem1", "", true},
        {1, "&About VORM", "mnuAboutitem", "", true},
    };
    FormMain form(rec, paths);
    form.Form_Load();  // nothing at start-up shows a hidden entry
    std::vector<MenuRow> rows;
    collect(form.menuBar()->actions(), 0, rows);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(rows[k], expected[k]) << "row " << k;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("VORM2004"));
    for (QAction* item : form.mnuModelitems) {
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked());
    }
}

TEST_F(FormMainTest, TheModelMenuHasExactlyOneCheckMarkOrNoneAndModelNumberFollowsIt) {
    const struct {
        const char* steps;  // "c5" clicks Model 5; "s9" sets modelNumber 9 as a job file may
        int model;
        int checked;  // 0: none
    } cases[] = {{"c5", 5, 5},    {"c5 c2", 2, 2},   {"c2 c2", 2, 2}, {"c1 c8 c4", 4, 4}, {"c3 s0", 0, 0},
                 {"c3 s9", 9, 0}, {"c6 s-1", -1, 0}, {"s7", 7, 7},    {"s7 c7 c7", 7, 7}, {"c4 n", 0, 0}};
    for (const auto& c : cases) {
        FormMain form(rec, paths);
        for (const QString& step : QString::fromLatin1(c.steps).split(' ')) {
            const int n = step.mid(1).toInt();
            if (step[0] == 'c') form.mnuModelitems[n - 1]->trigger();
            if (step[0] == 's') form.setModelNumber(n);
            if (step[0] == 'n') form.mnuNewitem->trigger();
        }
        int checkedCount = 0;
        for (int m = 1; m <= 8; ++m)
            if (form.mnuModelitems[m - 1]->isChecked()) {
                ++checkedCount;
                EXPECT_EQ(m, c.checked) << c.steps;
            }
        EXPECT_EQ(checkedCount, c.checked ? 1 : 0) << c.steps;
        EXPECT_EQ(form.jobSettings.modelNumber, c.model) << c.steps;
    }
}

TEST_F(FormMainTest, ExitLeavesTheOutputsAndClosingTheWindowRemovesThem) {
    QDir().mkpath(paths.workDir());
    const QStringList outputs{"FT06F001", "FT16F001", "PLOT2A.DAT", "PLOT2A.SCR"};
    auto fill = [&] {
        for (const QString& name : outputs + QStringList{"status", "CMDFLE"}) writeFile(paths.workFile(name), "x");
    };

    {
        FormMain form(rec, paths);
        form.show();
        fill();
        form.mnuExititem->trigger();
        EXPECT_EQ(rec.log, QStringList{"end"});
        form.close();  // the window goes with the program: no unload
        EXPECT_EQ(treeOf(paths.workDir()).size(), 6);
    }
    rec.log.clear();
    {
        FormMain form(rec, paths);
        form.show();
        form.close();
        EXPECT_EQ(rec.log, QStringList{"end"});
        EXPECT_EQ(treeOf(paths.workDir()), (QStringList{"CMDFLE", "VORM.lock", "status"}));
    }
}

TEST_F(FormMainTest, HelpEntriesOpenTheirPagesAndAMissingPageIsReported) {
    FormMain form(rec, paths);
    QDir().mkpath(paths.workDir());
    form.Form_Load();
    rec.log.clear();
    form.mnuTopicitem->trigger();
    EXPECT_EQ(rec.log, QStringList{"help " + paths.helpDir() + "Topic.htm"});
    EXPECT_TRUE(rec.messages.empty());

    form.mnuAboutitem->trigger();  // not in this installation
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Help html file is not available!"));
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("File not found"));
}

TEST_F(FormMainTest, PrintWritesTheJobFirstAndPrintsItLineByLine) {
    FormMain form(rec, paths);
    EXPECT_FALSE(form.mnuPrintItem->isEnabled()) << "no job pages, nothing to print";
    QDir().mkpath(paths.workDir());
    attachPages(form);
    EXPECT_TRUE(form.mnuPrintItem->isEnabled());
    pages.shown.fortranFormat = QStringLiteral("(I5,1X,15I1)");

    form.mnuPrintItem->trigger();
    const QString job = QString::fromUtf8(readFile(cmdfle()));
    EXPECT_TRUE(job.contains(QStringLiteral("\r\n(I5,1X,15I1)\r\n"))) << "the job was written first";
    EXPECT_EQ(rec.log, (QStringList{"printer", "print " + job, "message Printer: Print Job Done!"}));
    EXPECT_EQ(rec.messages.back().icon, MsgIcon::Information);

    rec.log.clear();
    rec.printerChosen = false;
    form.mnuPrintItem->trigger();
    EXPECT_EQ(rec.log, (QStringList{"printer"}));

    // A job that cannot be written is not printed.
    QDir(paths.workDir()).removeRecursively();
    rec.log.clear();
    form.mnuPrintItem->trigger();
    ASSERT_EQ(rec.log.size(), 1);
    EXPECT_TRUE(rec.log[0].startsWith("message ")) << rec.log[0].toStdString();
    EXPECT_EQ(rec.messages.back().text, "The job could not be written to " + cmdfle() + ".");
    EXPECT_EQ(rec.messages.back().icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace vormgui
