#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QProcess>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "JobTestSupport.h"
#include "app/FormMain.h"
#include "core/JobFile.h"
#include "gui_test_support.h"

namespace vormgui {
namespace {

using test::readFile;
using test::writeFile;

class JobFileCommands : public test::MainWindowTest {
protected:
    // A main window as at start-up, in place of the one there was.
    void startAgain() {
        form.reset();
        form = std::make_unique<FormMain>(rec, paths);
        form->jobSettings.appDir = paths.appDir();
        form->addPage(pages);
        form->setJobPages(pages);
        form->newJob();
    }
};

TEST_F(JobFileCommands, OpenFillsTheRecordThePagesAndTheModelMenuOrRefusesTheWholeFile) {
    const QString example = test::sourceDir() + "examples/EXAMPLE.CMD";
    writeFile(paths.workFile("FT06F001"), "old report");
    rec.fileAnswers = {example};
    form->mnuOpenitem->trigger();
    EXPECT_EQ(rec.log, QStringList{"open-file"});
    EXPECT_FALSE(QFile::exists(paths.workFile("FT06F001"))) << "the job reset came first";
    const JobSettings& job = form->jobSettings;
    EXPECT_EQ(job.jobFileName, example);
    EXPECT_TRUE(form->mnuModelitems[7]->isChecked());
    EXPECT_EQ(pages.shown.numberOfCategories, "6") << "the pages show what the file says";
    EXPECT_EQ(job.dataFileName, "EXAMPLE.DAT") << "the data file as the job file names it";
    EXPECT_EQ(pages.shown.dataFile, "EXAMPLE.DAT");
    EXPECT_EQ(form->jobFolder(), test::sourceDir() + "examples") << "where a relative name is taken from";

    // A cancelled dialog changes nothing and shows nothing.
    rec.log.clear();
    form->mnuOpenitem->trigger();
    EXPECT_EQ(rec.log, QStringList{"open-file"});
    EXPECT_EQ(job.modelNumber, 8);

    // A refused file changes nothing: the job, the pages, the Model menu and
    // the work folder stay as they were, and the box says why on a line of
    // its own.
    const JobControls shown = pages.shown;
    const QStringList before = test::carried(job);
    writeFile(paths.workFile("FT06F001"), "the last run's report");
    const QByteArray cmdfleBefore = readFile(cmdfle());
    const struct {
        QByteArray bytes;
        const char* why;
    } refused[] = {
        {"4             model\r\nN\r\nN\r\n30.0\r\n", "Line 4 is not a whole number from -32768 to 32767"},
        {"4\r\nN\r\nN\r\n30\r\nd.dat\r\n(" + QByteArray(32767, 'I') + ")\r\n",
         "Line 6 is longer than the 32767 characters a box holds"},
        {"4\r\nN\r\n", "The file ends before line 3, which the job needs"},
        {QByteArray(5 << 20, '8'), "The file is larger than any job file"},
    };
    for (const auto& r : refused) {
        writeFile(root.file("bad.cmd"), r.bytes);
        rec.fileAnswers = {root.file("bad.cmd")};
        rec.messages.clear();
        form->mnuOpenitem->trigger();
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.messages[0].text,
                  "Invalid command file! Please open a valid one!\n" + QString::fromLatin1(r.why));
        EXPECT_EQ(rec.messages[0].title, "VORM2004");
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(test::carried(job), before);
        EXPECT_EQ(job.jobFileName, example);
        EXPECT_TRUE(pages.shown == shown);
        for (int m = 1; m <= 8; ++m) EXPECT_EQ(form->mnuModelitems[m - 1]->isChecked(), m == 8);
        EXPECT_EQ(readFile(paths.workFile("FT06F001")), "the last run's report");
        EXPECT_EQ(readFile(cmdfle()), cmdfleBefore);
    }
    rec.fileAnswers = {root.file("missing.cmd")};
    rec.messages.clear();
    form->mnuOpenitem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_GT(rec.messages[0].text.size(), QStringLiteral("Invalid command file! Please open a valid one!\n").size())
        << "the reason the file could not be opened";
    EXPECT_EQ(job.jobFileName, example);

    // An empty data file or format line opens with its box empty, and Run
    // asks for what is missing.
    const struct {
        int line;
        const char* missing;
    } empty[] = {{4, "Please indicate the data file path!"}, {5, "Please fill in the fortran format!"}};
    for (const auto& e : empty) {
        QList<QByteArray> lines = readFile(example).split('\n');
        lines[e.line] = "\r";
        writeFile(root.file("empty.cmd"), lines.join('\n'));
        rec.fileAnswers = {root.file("empty.cmd")};
        rec.messages.clear();
        form->mnuOpenitem->trigger();
        ASSERT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
        EXPECT_TRUE((e.line == 4 ? pages.shown.dataFile : pages.shown.fortranFormat).isEmpty());
        EXPECT_EQ(job.numItems, 15) << "the lines after it are read as the engine reads them";
        form->mnuRunitem->trigger();
        EXPECT_EQ(rec.messageTexts(), QStringList{e.missing});
    }
}

// A named pipe would keep the window waiting for a writer, and a device may
// never end: neither is read.  (Should the pipe be opened all the same, a
// writer comes after a minute, so that the test fails instead of hanging.)
TEST_F(JobFileCommands, OpenRefusesWhatIsNotAPlainFile) {
    const QString pipe = root.file("job.pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread writer([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (done.wait_for(lock, std::chrono::seconds(60), [&] { return finished; })) return;
        const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    for (const QString& path : {pipe, QStringLiteral("/dev/zero"), root.path()}) {
        rec.fileAnswers = {path};
        rec.messages.clear();
        form->mnuOpenitem->trigger();
        ASSERT_EQ(rec.messages.size(), 1u) << path.toStdString();
        EXPECT_EQ(rec.messages[0].text, "Invalid command file! Please open a valid one!\nIt is not a plain file")
            << path.toStdString();
        EXPECT_TRUE(form->jobSettings.jobFileName.isEmpty());
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    done.notify_one();
    writer.join();
}

// Job files are bytes: a data path in Latin-1, in full or relative to the
// job file's folder, comes back from File Open and goes out with Save
// exactly as it was.  The engine that Run starts finds the data under it;
// a job saved into another folder names them in full.
TEST_F(JobFileCommands, ADataPathInAnyEncodingAndRelativeOrNotSurvivesOpenSaveAndRun) {
    const QByteArray folder = QFile::encodeName(root.path());
    const QByteArray name =
        "donn\xe9"
        "es \xe0 l'\xe9t\xe9.dat";
    const QByteArray data = folder + "jobs/sub/" + name;
    QDir().mkpath(root.file("jobs/sub"));
    QDir().mkpath(root.file("elsewhere"));
    ASSERT_TRUE(
        std::filesystem::copy_file((test::sourceDir() + "examples/EXAMPLE.DAT").toStdString(), data.toStdString()));
    rec.onModal = [](QDialog&) { return 0; };
    const QString saved = root.file("jobs/saved.cmd"), moved = root.file("elsewhere/moved.cmd");
    for (const QByteArray& written : {data, "sub/" + name, "./sub/../sub/" + name}) {
        SCOPED_TRACE(written.toStdString());
        QByteArray job = readFile(test::sourceDir() + "examples/EXAMPLE.CMD");
        job.replace("EXAMPLE.DAT", written);
        writeFile(root.file("jobs/job.cmd"), job);
        QFile::remove(saved);
        QFile::remove(moved);
        rec.log.clear();

        rec.fileAnswers = {root.file("jobs/job.cmd")};
        form->mnuOpenitem->trigger();
        ASSERT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
        EXPECT_EQ(toJobBytes(form->jobSettings.dataFileName), written);
        rec.fileAnswers = {saved};
        form->mnuSaveAsItem->trigger();
        EXPECT_EQ(jobLines(saved).size(), 22);
        EXPECT_EQ(readFile(saved).split('\n').value(4), written + '\r');
        const QByteArray first = readFile(saved);
        rec.fileAnswers = {saved};
        form->mnuOpenitem->trigger();
        form->mnuSaveItem->trigger();
        EXPECT_EQ(readFile(saved), first) << "Open and Save give the file back byte for byte";

        form->mnuRunitem->trigger();
        ASSERT_EQ(rec.log.filter("start ").size(), 1) << rec.messageTexts().join('\n').toStdString();
        EXPECT_EQ(readFile(cmdfle()).split('\n').value(4), data + '\r') << "the engine gets the data file in full";
        QProcess engine;
        engine.setWorkingDirectory(paths.appDir());
        engine.start(QStringLiteral(VORM_ENGINE), {cmdfle(), paths.workDir()});
        ASSERT_TRUE(engine.waitForFinished(120000));
        EXPECT_EQ(readFile(paths.workFile("status")), " end\n");

        rec.fileAnswers = {moved};
        form->mnuSaveAsItem->trigger();
        EXPECT_EQ(readFile(moved).split('\n').value(4), data + '\r');
        EXPECT_EQ(toJobBytes(form->jobSettings.dataFileName), data);
        EXPECT_EQ(toJobBytes(pages.shown.dataFile), data);
        form->mnuNewitem->trigger();
        EXPECT_TRUE(rec.messages.empty()) << "the job saved last is the job";
    }
}

TEST_F(JobFileCommands, OpeningTheWorkFoldersOwnJobFileKeepsItsJob) {
    QFile::remove(cmdfle());
    QFile::copy(test::sourceDir() + "examples/EXAMPLE.CMD", cmdfle());
    rec.fileAnswers = {cmdfle()};
    form->mnuOpenitem->trigger();
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(form->jobSettings.modelNumber, 8);
    EXPECT_EQ(form->jobSettings.numItems, 15);
}

TEST_F(JobFileCommands, SaveAsksForANameOnlyOnceAndSaveAsAsksBeforeOverwriting) {
    const QString first = root.file("first.cmd"), second = root.file("second.cmd");
    rec.fileAnswers = {first};
    form->mnuSaveItem->trigger();
    form->mnuSaveItem->trigger();
    EXPECT_EQ(rec.log, QStringList{"save-file"}) << "the second Save asks nothing";
    EXPECT_EQ(form->jobSettings.jobFileName, first);
    EXPECT_EQ(readFile(first), readFile(cmdfle()));

    writeFile(second, "keep me");
    rec.fileAnswers = {second, second};
    rec.answers = {MsgAnswer::No, MsgAnswer::Yes};
    form->mnuSaveAsItem->trigger();
    EXPECT_EQ(readFile(second), "keep me");
    EXPECT_EQ(form->jobSettings.jobFileName, first);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "File  '" + second + "' exists! Do you want to overwrite it?");
    EXPECT_EQ(rec.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(rec.messages[0].buttons, MsgButtons::YesNo);
    form->mnuSaveAsItem->trigger();
    EXPECT_EQ(readFile(second), readFile(first));
    EXPECT_EQ(form->jobSettings.jobFileName, second);

    // A write that fails says so, with the failure as the title.
    const QString nowhere = root.file("no/such/folder/job.cmd");
    rec.fileAnswers = {nowhere};
    rec.messages.clear();
    form->mnuSaveAsItem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, "The job could not be written to " + nowhere + ".");
    EXPECT_FALSE(rec.messages[0].title.isEmpty());
    EXPECT_EQ(form->jobSettings.jobFileName, nowhere);
}

// A job that differs from the one last made new, opened or saved is
// dropped by New, Open, Exit or the close box only after a question: Yes
// saves it (with a name asked for when it has none), No drops it, Cancel
// goes back to it.  An unchanged job is dropped without a word.
TEST_F(JobFileCommands, AChangedJobIsDroppedOnlyAfterAQuestion) {
    const QString job = root.file("job.cmd"), other = root.file("other.cmd"), named = root.file("named.cmd");
    const QByteArray example = readFile(test::sourceDir() + "examples/EXAMPLE.CMD");
    writeFile(other, example);
    const auto ended = [&] { return rec.log.contains("end"); };
    const struct {
        const char* name;
        std::function<void()> run;
        std::function<bool()> wentOn;
    } commands[] = {
        {"New", [&] { form->mnuNewitem->trigger(); }, [&] { return form->jobSettings.modelNumber == 0; }},
        {"Open",
         [&] {
             rec.fileAnswers.push_back(other);
             form->mnuOpenitem->trigger();
         },
         [&] { return form->jobSettings.jobFileName == other; }},
        {"Exit", [&] { form->mnuExititem->trigger(); }, ended},
        {"close box",
         [&] {
             form->show();
             form->close();
         },
         ended},
    };
    const QString model3 = "3             ESTIMATE PARAMETERS OF MODEL 3";
    const struct {
        const char* what;
        bool opened;  // the job comes from job.cmd, else it has no file yet
        bool changed;
        std::vector<MsgAnswer> answers;
        QString saveAs;  // the name given when the save asks for one; "" cancels
        bool wentOn;
        const char* savedTo;  // the file that holds the changed job afterwards
    } cases[] = {
        {"unchanged", true, false, {}, {}, true, nullptr},
        {"Cancel", true, true, {MsgAnswer::Cancel}, {}, false, nullptr},
        {"No", true, true, {MsgAnswer::No}, {}, true, nullptr},
        {"Yes", true, true, {MsgAnswer::Yes}, {}, true, "job.cmd"},
        {"Yes without a file", false, true, {MsgAnswer::Yes}, named, true, "named.cmd"},
        {"Yes and the name not given", false, true, {MsgAnswer::Yes}, "", false, nullptr},
    };
    for (const auto& command : commands) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(command.name) + ": " + c.what);
            writeFile(job, example);
            QFile::remove(named);
            startAgain();
            if (c.opened) {
                rec.fileAnswers = {job};
                form->mnuOpenitem->trigger();
            }
            if (c.changed) form->mnuModelitems[2]->trigger();
            rec.messages.clear();
            rec.log.clear();
            rec.answers.assign(c.answers.begin(), c.answers.end());
            rec.fileAnswers.clear();
            if (!c.opened && c.changed) rec.fileAnswers.push_back(c.saveAs);
            command.run();

            if (c.changed) {
                ASSERT_EQ(rec.messages.size(), 1u) << rec.messageTexts().join('\n').toStdString();
                EXPECT_EQ(rec.messages[0].text, "The job has been changed. Do you want to save it?");
                EXPECT_EQ(rec.messages[0].title, "VORM2004");
                EXPECT_EQ(rec.messages[0].icon, MsgIcon::Question);
                EXPECT_EQ(rec.messages[0].buttons, MsgButtons::YesNoCancel);
            } else {
                EXPECT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
            }
            EXPECT_EQ(command.wentOn(), c.wentOn);
            if (!c.wentOn) {
                EXPECT_EQ(form->jobSettings.modelNumber, 3) << "the changed job is still there";
            }
            const QString savedTo = QString::fromLatin1(c.savedTo);
            if (savedTo != "job.cmd") {
                EXPECT_EQ(readFile(job), example);
            }
            if (c.savedTo) {
                EXPECT_EQ(jobLines(root.file(savedTo)).value(0), model3);
            }
            EXPECT_EQ(QFile::exists(named), savedTo == "named.cmd");
        }
    }
}

TEST_F(JobFileCommands, AConstraintTheModelCannotHaveIsTakenBackAtEveryWrite) {
    const QString file = root.file("job.cmd");
    form->jobSettings.jobFileName = file;
    for (int model : {3, 4}) {
        form->setModelNumber(model);
        for (int write = 0; write < 2; ++write) {
            form->jobSettings.useConstraint = pages.constraintYes = true;
            rec.messages.clear();
            form->mnuSaveItem->trigger();
            const bool takenBack = model == 3;
            ASSERT_EQ(rec.messages.size(), takenBack ? 1u : 0u);
            if (takenBack) {
                EXPECT_EQ(rec.messages[0].text,
                          "Warning: Constraints are not applicable. Constraints have been removed.");
                EXPECT_EQ(rec.messages[0].icon, MsgIcon::Exclamation);
            }
            EXPECT_EQ(jobLines(file).value(1),
                      takenBack ? "N             CONSTRAINTS ARE NOT USED" : "Y             CONSTRAINTS ARE USED");
            EXPECT_EQ(form->jobSettings.useConstraint, !takenBack);
            EXPECT_EQ(pages.constraintYes, !takenBack);
        }
    }
    EXPECT_EQ(pages.noConstraintSelections, 2);
}

}  // namespace
}  // namespace vormgui
