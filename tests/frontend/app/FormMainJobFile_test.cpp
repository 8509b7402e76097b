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

class JobFileCommands : public test::MainWindowTest {};

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
    const QString beside = test::sourceDir() + "examples/EXAMPLE.DAT";
    EXPECT_EQ(job.dataFileName, beside) << "the data file that the job file names without a folder";
    EXPECT_EQ(pages.shown.dataFile, beside);

    // A cancelled dialog changes nothing and shows nothing.
    rec.log.clear();
    form->mnuOpenitem->trigger();
    EXPECT_EQ(rec.log, QStringList{"open-file"});
    EXPECT_EQ(job.modelNumber, 8);

    // A refused file leaves the default job and says why in the title.
    const struct {
        QByteArray bytes;
        const char* title;
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
        EXPECT_EQ(rec.messages[0].text, "Invalid command file! Please open a valid one!");
        EXPECT_EQ(rec.messages[0].title, QString::fromLatin1(r.title));
        EXPECT_EQ(rec.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(job.modelNumber, 0);
        EXPECT_TRUE(job.jobFileName.isEmpty());
        EXPECT_TRUE(pages.shown == test::newJobControls());
        for (QAction* item : form->mnuModelitems) EXPECT_FALSE(item->isChecked());
    }
    rec.fileAnswers = {root.file("missing.cmd")};
    rec.messages.clear();
    form->mnuOpenitem->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_FALSE(rec.messages[0].title.isEmpty()) << "the reason the file could not be opened";
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
        EXPECT_EQ(rec.messages[0].text, "Invalid command file! Please open a valid one!");
        EXPECT_EQ(rec.messages[0].title, "It is not a plain file") << path.toStdString();
        EXPECT_TRUE(form->jobSettings.jobFileName.isEmpty());
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    done.notify_one();
    writer.join();
}

// Job files are bytes: a data path in Latin-1 comes back from File Open and
// goes out with Save exactly as it was, and the engine that Run starts finds
// the data under it.
TEST_F(JobFileCommands, ADataPathInAnyEncodingSurvivesOpenSaveAndRun) {
    const QByteArray folder = QFile::encodeName(root.path());
    const QByteArray data = folder +
                            "donn\xe9"
                            "es \xe0 l'\xe9t\xe9.dat";
    ASSERT_TRUE(
        std::filesystem::copy_file((test::sourceDir() + "examples/EXAMPLE.DAT").toStdString(), data.toStdString()));
    QByteArray job = readFile(test::sourceDir() + "examples/EXAMPLE.CMD");
    job.replace("EXAMPLE.DAT", data);
    writeFile(root.file("job.cmd"), job);

    rec.fileAnswers = {root.file("job.cmd")};
    form->mnuOpenitem->trigger();
    ASSERT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
    EXPECT_EQ(toJobBytes(form->jobSettings.dataFileName), data);
    rec.fileAnswers = {root.file("saved.cmd")};
    form->mnuSaveAsItem->trigger();
    EXPECT_EQ(jobLines(root.file("saved.cmd")).size(), 22);
    EXPECT_EQ(readFile(root.file("saved.cmd")).split('\n').value(4), data + '\r');
    rec.fileAnswers = {root.file("saved.cmd")};
    form->mnuOpenitem->trigger();
    rec.fileAnswers = {root.file("again.cmd")};
    form->mnuSaveAsItem->trigger();
    EXPECT_EQ(readFile(root.file("again.cmd")), readFile(root.file("saved.cmd")));

    rec.onModal = [](QDialog&) { return 0; };
    form->mnuRunitem->trigger();
    ASSERT_EQ(rec.log.filter("start ").size(), 1) << rec.messageTexts().join('\n').toStdString();
    EXPECT_EQ(readFile(cmdfle()), readFile(root.file("saved.cmd")));
    QProcess engine;
    engine.setWorkingDirectory(paths.appDir());
    engine.start(QStringLiteral(VORM_ENGINE), {cmdfle(), paths.workDir()});
    ASSERT_TRUE(engine.waitForFinished(120000));
    EXPECT_EQ(readFile(paths.workFile("status")), " end\n");
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
