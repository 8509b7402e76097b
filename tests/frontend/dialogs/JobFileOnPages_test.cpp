// The job file commands on the real pages: the job reset's file, and Open
// followed by Save giving back the file and the job that were opened.
#include <QAction>

#include "JobTestSupport.h"
#include "PageFixture.h"
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

}  // namespace
}  // namespace vormgui
