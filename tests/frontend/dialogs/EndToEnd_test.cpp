// The main road with the real engine: a new job made on the pages for the
// example data, Run, the monitor until the engine's end, the report there.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <map>

#include "JobTestSupport.h"
#include "PageFixture.h"
#include "dialogs/CutoffPages.h"
#include "dialogs/EstimationPages.h"
#include "dialogs/JobPageControls.h"
#include "dialogs/ReadDataPages.h"
#include "shell/FormTimer.h"

namespace vormgui {
namespace {

TEST(EndToEnd, AJobFromTheNewJobPagesRunsToTheEnginesSuccessfulEnd) {
    test::TempFolder root;
    const AppPaths paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home"));
    QDir().mkpath(paths.workDir());
    QDir().mkpath(paths.helpDir());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VORM_ENGINE), paths.engineProgram()));
    ASSERT_TRUE(QFile::copy(test::sourceDir() + "examples/EXAMPLE.DAT", paths.appDir() + "EXAMPLE.DAT"));
    test::LiveEngine services;
    FormMain form(services, paths);
    JobPages pages(services, form.jobSettings, &form);
    attachJobPages(form, pages, services);
    JobPageControls controls(pages);
    form.setJobPages(controls);
    form.Form_Load();
    form.mnuNewitem->trigger();

    // What the user does on each page and in the monitor.
    QString outcome;
    const std::map<QString, std::function<void(QDialog&)>> onWindow = {
        {"FormDataFile",
         [&](QDialog&) {
             pages.dataFile->setDataFileText("EXAMPLE.DAT");
             pages.dataFile->setFormatText("(I5,1X,15I1)");
             pages.dataFile->CommandOK_Click();
         }},
        {"FormItemDef",
         [&](QDialog&) {
             pages.itemDef->setItemsText("15");
             pages.itemDef->setCategoriesText("6");
             pages.itemDef->CommandOK_Click();
         }},
        {"FormCutoff",
         [&](QDialog&) {
             pages.cutoff->setCutoffText("2");
             pages.cutoff->CommandOK_Click();
         }},
        {"FormAlgorithm",
         [&](QDialog&) {
             pages.algorithm->setText(FormAlgorithm::Outer, "50");
             pages.algorithm->CommandOK_Click();
         }},
        {"FormTimer",
         [&](QDialog& window) {
             auto& monitor = dynamic_cast<FormTimer&>(window);
             EXPECT_TRUE(test::waitFor([&] { return !services.engineRunning(services.lastPid, paths.engineProgram()); },
                                       60000));
             for (int tick = 0; tick < 3; ++tick) services.fireTickers();
             outcome = monitor.LabelTitle->text();
             monitor.CommandQuit->click();
         }},
    };
    services.onModal = [&](QDialog& window) {
        const auto step = onWindow.find(window.objectName());
        if (step == onWindow.end()) {
            ADD_FAILURE() << "unexpected window " << window.objectName().toStdString();
            return 0;
        }
        step->second(window);
        return 0;
    };
    form.mnuModelitems[7]->trigger();
    for (QAction* entry : {form.mnuReaddataitem, form.mnuDefinitionitem, form.mnuResponseitem, form.mnuAlgorithmitem})
        entry->trigger();
    form.mnuRunitem->trigger();

    EXPECT_TRUE(services.messages.empty()) << services.messages.front().text.toStdString();
    EXPECT_EQ(outcome, FormTimer::kSucceeded);
    const QByteArray report = test::readFile(paths.workFile("FT06F001"));
    EXPECT_TRUE(report.contains("EACH ITEM HAS")) << "the report of this job";
    EXPECT_TRUE(report.contains("MARGINAL LOG-LIKELIHOOD FOR MODEL="));
    EXPECT_EQ(test::readFile(paths.workFile("status")), " end\n");
}

}  // namespace
}  // namespace vormgui
