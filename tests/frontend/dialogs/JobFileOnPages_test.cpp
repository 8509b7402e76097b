// The job file commands on the real pages: the job reset's file, and Open
// followed by Save giving back the file and the job that were opened.
#include <QAction>
#include <QProcess>
#include <QRadioButton>

#include "JobTestSupport.h"
#include "PageFixture.h"
#include "dialogs/DiscardPages.h"
#include "dialogs/JobPageControls.h"

namespace vormgui {
namespace {

class JobFileOnPages : public test::PageTest {
protected:
    JobFileOnPages() {
        job.appDir = paths.appDir();
        form.setJobPages(controls);
        form.newJob();
    }
    QString cmdfle() const { return paths.workFile(QStringLiteral("CMDFLE")); }

    JobPageControls controls{pages};
};

TEST_F(JobFileOnPages, TheJobResetLeavesThePagesAsTheResetTableSaysAndWritesTheDefaultJob) {
    EXPECT_TRUE(controls.controls() == test::newJobControls());
    QByteArray golden = test::readFile(test::sourceDir() + "tests/frontend/shell/golden/default_job.cmd");
    EXPECT_EQ(test::readFile(cmdfle()), golden.replace("/opt/vorm/", paths.appDir().toUtf8()));
}

TEST_F(JobFileOnPages, OpenThenSaveGivesBackTheFileTheRecordAndTheControls) {
    std::mt19937 rng(7);
    for (int round = 0; round < 100; ++round) {
        JobControls written;
        JobSettings source;
        test::randomJob(rng, written, source);
        if (source.modelNumber % 2 == 1) source.useConstraint = false;  // Save would take it back
        const QString opened = root.file(QStringLiteral("job%1.cmd").arg(round));
        const QString saved = root.file(QStringLiteral("saved%1.cmd").arg(round));
        const std::optional<QByteArray> text = jobFileText(written, source, paths.appDir(), nullptr);
        ASSERT_TRUE(text);
        test::writeFile(opened, *text);

        rec.fileAnswers = {opened};
        form.mnuOpenitem->trigger();
        ASSERT_TRUE(rec.messages.empty()) << rec.messages.back().title.toStdString();
        EXPECT_EQ(test::carried(job), test::carried(source)) << "round " << round;
        JobControls shown = form.jobControls();
        EXPECT_TRUE(shown == written) << "round " << round << "\n" << text->toStdString();

        rec.fileAnswers = {saved};
        form.mnuSaveAsItem->trigger();
        EXPECT_EQ(test::readFile(saved), *text) << "round " << round;
        rec.fileAnswers = {saved};
        form.mnuOpenitem->trigger();
        EXPECT_EQ(test::carried(job), test::carried(source)) << "round " << round;
        EXPECT_TRUE(form.jobControls() == shown) << "round " << round;
    }
}

// Identifiers of five to seven digits, as data sets carry them: File Open
// takes them, the list page shows them, Save writes them back and the
// engine run on Run's job file discards exactly those two respondents.
TEST_F(JobFileOnPages, RespondentsWithLongIdentifiersOpenOnTheListPageSaveBackAndRun) {
    // The example's answers under identifiers in seven columns.
    QByteArray data;
    int record = 0;
    for (const QByteArray& line : test::readFile(test::sourceDir() + "examples/EXAMPLE.DAT").split('\n')) {
        if (line.trimmed().isEmpty()) continue;
        ++record;
        const int id = record == 3 ? 40001 : record == 5 ? 2400901 : record;
        data += QByteArray::number(id).rightJustified(7) + line.mid(5) + '\n';
    }
    ASSERT_EQ(record, 800);
    test::writeFile(root.file("ids.dat"), data);
    QByteArray file = test::readFile(test::sourceDir() + "examples/EXAMPLE.CMD");
    file.replace("EXAMPLE.DAT", "ids.dat").replace("(I5,1X,15I1)", "(I7,1X,15I1)");
    file.replace("N             discard subjects", "Y\r\n2\r\n40001\r\n  2400901   LABEL");
    test::writeFile(root.file("ids.cmd"), file);

    rec.fileAnswers = {root.file("ids.cmd")};
    form.mnuOpenitem->trigger();
    ASSERT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
    EXPECT_TRUE(pages.deleteSubjects->OptionYes->isChecked());
    EXPECT_EQ(pages.deleteSubjects->countText(), "2");
    EXPECT_EQ(pages.subjectsDiscarded->values(), (QStringList{"40001", "2400901"}));
    // OK on the list page keeps them as they are.
    pages.subjectsDiscarded->CommandOK_Click();
    ASSERT_TRUE(rec.messages.empty()) << rec.messageTexts().join('\n').toStdString();
    EXPECT_EQ(job.subjectsToDiscard[1], 40001);
    EXPECT_EQ(job.subjectsToDiscard[2], 2400901);

    rec.fileAnswers = {root.file("saved.cmd")};
    form.mnuSaveAsItem->trigger();
    const QList<QByteArray> saved = test::readFile(root.file("saved.cmd")).split('\n');
    EXPECT_EQ(saved.mid(13, 4),
              (QList<QByteArray>{"Y             DISCARD ANY PEOPLE\r",
                                 "2             NUMBER OF RESPONDENTS TO DISCARD\r", "40001\r", "2400901\r"}));

    rec.onModal = [](QDialog&) { return 0; };
    form.mnuRunitem->trigger();
    ASSERT_EQ(rec.log.filter("start ").size(), 1) << rec.messageTexts().join('\n').toStdString();
    QProcess engine;
    engine.setWorkingDirectory(paths.appDir());
    engine.start(QStringLiteral(VORM_ENGINE), {cmdfle(), paths.workDir()});
    ASSERT_TRUE(engine.waitForFinished(120000));
    EXPECT_EQ(test::readFile(paths.workFile("status")), " end\n");
    const QString report = QString::fromUtf8(test::readFile(paths.workFile("FT06F001"))).simplified();
    EXPECT_TRUE(report.contains("SUBJECT # 40001 DISCARDED DUE TO COMPLETE DISAGREEMENT"));
    EXPECT_TRUE(report.contains("SUBJECT # 2400901 DISCARDED DUE TO COMPLETE DISAGREEMENT"));
    EXPECT_TRUE(report.contains("PROCESSED RESPONSES FROM 798 SUBJECTS TO 15 ITEMS"));
}

}  // namespace
}  // namespace vormgui
