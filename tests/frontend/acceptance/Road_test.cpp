// The whole road of a user, on the front end as the program builds it and the
// real engine: the first start, a new job defined on the pages, saved and
// opened again, Run and the monitor until the engine's end, every report
// viewer, the frequency chart and every plot window, a picture saved as a
// bitmap, a report and a plot printed.  The recorder answers the boxes and
// choosers; the modal windows are worked through their buttons and boxes.
// One road for the example data with model 8, one for a model 3 job with
// per-item cutoffs, a discarded item, discarded respondents, missing
// responses and a cycle limit that the engine reports while it runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <map>
#include <numeric>

#include "../dialogs/PageFixture.h"
#include "JobTestSupport.h"
#include "app/FrontEnd.h"
#include "dialogs/CutoffPages.h"
#include "dialogs/DiscardPages.h"
#include "dialogs/EstimationPages.h"
#include "dialogs/FitPages.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/SignPages.h"
#include "engine_jobs.h"
#include "results/FormPlotFrequency.h"
#include "results/FormTextOutput.h"
#include "results/PlotViewer.h"
#include "shell/FormTimer.h"
#include "simulate.h"
#include "widgets/PictureBox.h"

namespace vormgui {
namespace {

// Far beyond what either job takes, even under the sanitizers.
constexpr int kEngineMs = 120000;

const QString kLastItem = QStringLiteral("You are at the last item in the list. There are no further items.");
const QString kFirstItem = QStringLiteral("You are at the first item in the list. There are no previous items.");

// A picture with a plot on it: a title, an axis and a curve or points set
// far more pixels than this, a cleared picture none.
bool drawn(const QImage& picture) {
    const QRgb background = picture.pixel(0, 0);
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) ink += picture.pixel(x, y) != background;
    return ink > 500;
}

// A printout worth the name: a PDF document with pages and something on them.
void expectPrinted(const QString& pdf) {
    const QByteArray bytes = test::readFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF")) << pdf.toStdString();
    EXPECT_TRUE(bytes.contains("/Type /Page")) << pdf.toStdString();
    EXPECT_GT(bytes.size(), 4000) << pdf.toStdString();
}

class Road : public ::testing::Test {
protected:
    // Blanks in the folder names, as in many an installation.
    Road()
        : paths(root.file("Scaling Programs/VORM 2004"), root.file("Scaling Programs/VORM 2004/TEMPFILE"),
                root.file("home")) {
        // The application folder as the build lays it out, before the first start.
        QDir().mkpath(paths.examplesDir());
        EXPECT_TRUE(QFile::copy(QStringLiteral(VORM_ENGINE), paths.engineProgram()));
        const QString examples = test::sourceDir() + "examples/";
        for (const QString& name : QDir(examples).entryList(QDir::Files))
            EXPECT_TRUE(QFile::copy(examples + name, paths.examplesDir() + name));
        // The splash's two seconds and the monitor's second, a hundredfold shorter.
        services.clockScale = 0.01;
        services.onModal = [this](QDialog& window) {
            const auto step = user.find(window.objectName());
            if (step == user.end())
                ADD_FAILURE() << "unexpected window " << window.objectName().toStdString();
            else
                step->second(window);
            return 0;
        };
    }

    // What the user does when the window of that name is shown.
    template <class Window>
    void on(const QString& name, std::function<void(Window&)> work) {
        user[name] = [work](QDialog& window) { work(dynamic_cast<Window&>(window)); };
    }

    // The boxes shown since the last call, as "title: text".
    QStringList messages() {
        QStringList said;
        for (; seen < services.messages.size(); ++seen)
            said << services.messages[seen].title + ": " + services.messages[seen].text;
        return said;
    }

    // The first start: the splash, the work folder made, the examples copied
    // (the manuals not).
    void startUp() {
        front = std::make_unique<FrontEnd>(services, paths);
        user["FormFlash"] = [](QDialog& splash) { EXPECT_EQ(splash.exec(), QDialog::Accepted); };
        services.answers = {MsgAnswer::Yes, MsgAnswer::No};
        front->form.Form_Load();
        EXPECT_EQ(
            messages(),
            (QStringList{"VORM2004: Copy example files to directory '" + paths.examplesCopyDir() + "'?",
                         "VORM2004: Copy manual and readme files to directory '" + paths.manualCopyDir() + "'?"}));
        EXPECT_EQ(test::readFile(paths.examplesCopyDir() + "EXAMPLE.DAT"),
                  test::readFile(paths.examplesDir() + "EXAMPLE.DAT"));
        EXPECT_FALSE(QFileInfo::exists(paths.manualCopyDir()));
        EXPECT_EQ(front->form.windowTitle(), "VORM2004");
    }

    // The data file chosen with Browse, its format typed, no recoding.
    void onDataFile(const QString& data, const QString& format) {
        on<FormDataFile>("FormDataFile", [this, data, format](FormDataFile& p) {
            services.fileAnswers.push_back(data);
            p.CommandBrowse->click();
            p.TextFortranFormat->setText(format);
            p.OptionNo->click();
            p.CommandNext->click();
        });
    }

    // The estimation walk: no sign changes, the quadrature points, the five
    // algorithm boxes in their order, no constraint.
    void onEstimation(const QString& points, const QStringList& algorithm) {
        on<FormInitSigns>("FormInitSigns", [](FormInitSigns& p) {
            p.OptionNo->click();
            p.OptionNo2->click();
            p.CommandNext->click();
        });
        on<FormQuadrature>("FormQuadrature", [points](FormQuadrature& p) {
            p.TextNumberOfQuadraturePoints->setText(points);
            p.CommandNext->click();
        });
        on<FormAlgorithm>("FormAlgorithm", [algorithm](FormAlgorithm& p) {
            const QList<QLineEdit*> boxes{p.TextOuterCycles, p.TextInnerCycles, p.TextThresholds, p.TextItems,
                                          p.TextCriterion};
            for (int b = 0; b < boxes.size(); ++b) boxes[b]->setText(algorithm.at(b));
            p.CommandNext->click();
        });
        on<FormConstraint>("FormConstraint", [](FormConstraint& p) {
            p.OptionNo->click();
            p.CommandOK->click();
        });
    }

    // The fit walk with the cut-offs as the pages offer them, and the plot page.
    void onFitAndPlots(const QString& fitGroups, bool everyPerson, const QString& plotGroups,
                       const QString& thetaDeltaGroups) {
        on<FormFitGroups>("FormFitGroups", [fitGroups](FormFitGroups& p) {
            p.OptionYes->click();
            p.TextNumberOfFitGroups->setText(fitGroups);
            p.CommandNext->click();
        });
        on<FormItemFit>("FormItemFit", [](FormItemFit& p) { p.CommandNext->click(); });
        on<FormPersonFit>("FormPersonFit", [everyPerson](FormPersonFit& p) {
            (everyPerson ? p.OptionYes : p.OptionNo)->click();
            p.CommandOK->click();
        });
        on<FormPlotGroups>("FormPlotGroups", [plotGroups, thetaDeltaGroups](FormPlotGroups& p) {
            p.OptionYes->click();
            p.TextPlotGroupNumber->setText(plotGroups);
            p.TextThetaDeltaPairGroupNumber->setText(thetaDeltaGroups);
            p.CommandOK->click();
        });
    }

    // Each value into its row of a grid page, as the keyboard enters it: a
    // click on the row, its first key on the grid, which opens the editor
    // there, and the rest typed into the editor.  OK or Next keeps the last.
    static void typeColumn(GridPage& page, QLineEdit& editor, const QStringList& values) {
        for (int row = 1; row <= values.size(); ++row) {
            const QString& value = values[row - 1];
            page.grd->setCurrentDataRow(row);
            test::key(page.grd, static_cast<Qt::Key>(value.at(0).toUpper().unicode()), value.left(1));
            test::type(&editor, value.mid(1));
        }
    }

    // After the model's menu entry, the walks of the Data, Estimate and Fit
    // menus and the plot page, which must take everything silently; then
    // the job saved to a new file with `save` (Save or Save As), opened from
    // it and run.  The engine runs the job that was saved.
    void defineSaveOpenAndRun(int model, const QString& jobFile, QAction* save) {
        front->form.mnuModelitems[model - 1]->trigger();
        for (QAction* walk : {front->form.mnuReaddataitem, front->form.mnuInitialValues, front->form.mnuFitGroups,
                              front->form.mnuPlotitem})
            walk->trigger();
        EXPECT_EQ(messages(), QStringList{});
        services.fileAnswers.push_back(jobFile);
        save->trigger();
        EXPECT_TRUE(QFileInfo(jobFile).isFile());
        services.fileAnswers.push_back(jobFile);
        front->form.mnuOpenitem->trigger();
        EXPECT_EQ(messages(), QStringList{});
        EXPECT_TRUE(front->form.mnuModelitems[model - 1]->isChecked());
        runToSuccess();
        EXPECT_EQ(test::readFile(paths.workFile("CMDFLE")), test::readFile(jobFile));
    }

    // File Run, and the monitor until its outcome, then OK.
    void runToSuccess() {
        QString outcome;
        on<FormTimer>("FormTimer", [&outcome](FormTimer& monitor) {
            EXPECT_EQ(monitor.windowTitle(), "Running");
            EXPECT_EQ(monitor.LabelTitle->text(), "VORM2004 is running. Please wait...");
            EXPECT_EQ(monitor.CommandQuit->text(), "Quit Without Waiting");
            QElapsedTimer clock;
            clock.start();
            QTimer glance;  // the user looks now and then
            QObject::connect(&glance, &QTimer::timeout, [&] {
                if (monitor.LabelTitle->text() == FormTimer::kRunning && clock.elapsed() < kEngineMs) return;
                glance.stop();
                outcome = monitor.LabelTitle->text();
                EXPECT_EQ(monitor.LabelEndTimeTitle->text(), "End Time:");
                EXPECT_EQ(monitor.CommandQuit->text(), "OK");
                monitor.CommandQuit->click();
            });
            glance.start(5);
            monitor.exec();
        });
        front->form.mnuRunitem->trigger();
        EXPECT_EQ(outcome, QString("Analysis Finished Successfully!"));
        EXPECT_EQ(messages(), QStringList{});
        EXPECT_EQ(test::readFile(paths.workFile("status")), endStatus);
    }

    // What the status file holds after the run: " end", then the warnings
    // that the completed run gave.
    QString endStatus = " end\n";

    // Every report viewer shows its file whole under its caption; the report
    // is printed.  Returns the report.
    QString viewReports() {
        const struct {
            QAction* FormMain::*entry;
            const char* form;
            const char* caption;
            const char* file;
        } viewers[] = {
            {&FormMain::mnuExeInfo, "FormExecInfoOutput", "Execution Information", "FT06F001"},
            {&FormMain::mnuItemPara, "FormParaOutput", "Item Parameters", "FT16F001"},
            {&FormMain::mnuPersonPara, "FormPersonOutput", "Person Parameters", "FT17F001"},
            {&FormMain::mnuFitStat, "FormStatOutput", "Fit Statistics", "FT15F001"},
        };
        QString report;
        for (const auto& v : viewers) {
            SCOPED_TRACE(v.form);
            const QString file = QString::fromUtf8(test::readFile(paths.workFile(v.file)));
            EXPECT_GT(file.count('\n'), 10) << "the engine wrote " << v.file;
            on<FormTextOutput>(v.form, [&](FormTextOutput& viewer) {
                EXPECT_EQ(viewer.windowTitle(), v.caption);
                EXPECT_EQ(viewer.TextContent->toPlainText(), file);
                if (v.entry == &FormMain::mnuExeInfo) {
                    report = viewer.TextContent->toPlainText();
                    services.printToPdf = root.file("report.pdf");
                    viewer.mnuPrintItem->trigger();
                }
                viewer.CommandOK->click();
            });
            (front->form.*v.entry)->trigger();
        }
        EXPECT_EQ(messages(), QStringList{"Printer: Print Job Done!"});
        expectPrinted(root.file("report.pdf"));
        return report;
    }

    // The chart of the first item, Next to the last and one more, Previous
    // back to the first and one more: the bars are the counts of the data.
    void viewChart(const std::vector<std::vector<int>>& counts) {
        on<FormPlotFrequency>("FormPlotFrequency", [&](FormPlotFrequency& chart) {
            EXPECT_EQ(chart.windowTitle(), "Response Frequency");
            EXPECT_EQ(test::shownBy(*chart.MSChartResponseFrequency), test::chartOf(counts.front()));
            for (std::size_t k = 0; k < counts.size(); ++k) chart.CommandNext->click();
            EXPECT_EQ(test::shownBy(*chart.MSChartResponseFrequency), test::chartOf(counts.back()));
            for (std::size_t k = 0; k < counts.size(); ++k) chart.CommandPrevious->click();
            EXPECT_EQ(test::shownBy(*chart.MSChartResponseFrequency), test::chartOf(counts.front()));
            chart.close();
        });
        front->form.mnuResponseFrequency->trigger();
        EXPECT_EQ(messages(), (QStringList{"No Next Item: " + kLastItem, "No Previous Item: " + kFirstItem}));
    }

    // Every plot window draws every file of its kind, with Next to the end
    // and Previous back where the window offers them; the category
    // probabilities are saved as a bitmap and the item information printed.
    void viewPlots(int items) {
        const struct {
            QAction* FormMain::*entry;
            const char* form;
            const char* caption;
            bool perItem;
        } kinds[] = {
            {&FormMain::mnuItemFitPlot, "FormPlotFit", "Plot Fit", true},
            {&FormMain::mnuProbability, "FormPlotProb", "Category Probability Curves", true},
            {&FormMain::mnuItemCharacteristicCurve, "FormPlotExp", "Item Expected Value", true},
            {&FormMain::mnuTestCharacteristicCurve, "FormPlotTestChar", "Test Characteristic Curve", false},
            {&FormMain::mnuInfoCurve, "FormPlotInfo", "Item Information Curve", true},
            {&FormMain::mnuTestInfoCurve, "FormPlotTestInfo", "Test Information Curve", false},
            {&FormMain::mnuExpectedObservedResponse, "FormPlotExpectedObservedResponse",
             "Expected/Observed Grouped Average Responses", false},
            {&FormMain::mnuEATEstimateDistribution, "FormPlotEAPEstimate", "EAP Estimate Distribution", false},
            {&FormMain::mnuItemLocationEstimates, "FormPlotLocationEstimates", "Item Location Estimates", false},
            {&FormMain::mnuLatentTraitDistribution, "FormPlotLatentTrait", "Latent Trait Distribution", false},
        };
        const QString bitmap = root.file("home/probabilities");
        for (const auto& k : kinds) {
            SCOPED_TRACE(k.form);
            int plots = 0;
            on<PlotViewer>(k.form, [&](PlotViewer& w) {
                EXPECT_EQ(w.windowTitle(), k.caption);
                const auto look = [&] {
                    EXPECT_TRUE(drawn(w.PicturePlot->image())) << "plot " << w.FileListPlot.listIndex + 1;
                    ++plots;
                };
                look();
                if (k.perItem) {
                    for (int n = 1; n < items; ++n) {
                        w.CommandNext->click();
                        look();
                    }
                    w.CommandNext->click();
                    for (int n = 1; n < items; ++n) {
                        w.CommandPrevious->click();
                        look();
                    }
                    w.CommandPrevious->click();
                    EXPECT_EQ(w.FileListPlot.listIndex, 0);
                } else {
                    EXPECT_TRUE(!w.CommandNext || w.CommandNext->isHidden()) << "nothing to page through";
                }
                if (QLatin1String(k.form) == QLatin1String("FormPlotProb")) {
                    services.fileAnswers.push_back(bitmap);
                    w.CommandSaveAs->click();
                    const QImage saved(bitmap + ".BMP");
                    EXPECT_EQ(saved.size(), w.PicturePlot->image().size());
                    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32),
                              w.PicturePlot->image().convertToFormat(QImage::Format_RGB32));
                }
                if (QLatin1String(k.form) == QLatin1String("FormPlotInfo")) {
                    services.printToPdf = root.file("plot.pdf");
                    w.CommandPrint->click();
                }
                w.close();
            });
            (front->form.*k.entry)->trigger();
            EXPECT_EQ(plots, k.perItem ? 2 * items - 1 : 1);
            QStringList said = k.perItem ? QStringList{": " + kLastItem, ": " + kFirstItem} : QStringList{};
            if (QLatin1String(k.form) == QLatin1String("FormPlotInfo")) said << "Printer: Print Job Done";
            EXPECT_EQ(messages(), said);
        }
        expectPrinted(root.file("plot.pdf"));
    }

    // The line of the report that says what the engine kept, for a row of
    // tabulate(), whose counts add up to the respondents kept.
    static QString processed(const std::vector<int>& row, int items) {
        const int respondents = std::accumulate(row.begin() + 1, row.end(), 0);
        return QStringLiteral(" PROCESSED RESPONSES FROM %1 SUBJECTS TO %2 ITEMS HAVE BEEN READ.")
            .arg(respondents, 4)
            .arg(items, 3);
    }

    test::TempFolder root;
    AppPaths paths;
    test::LiveEngine services;
    std::map<QString, std::function<void(QDialog&)>> user;
    std::size_t seen = 0;
    std::unique_ptr<FrontEnd> front;
};

TEST_F(Road, TheExampleDataWithModel8FromTheFirstStartToPrintedResults) {
    startUp();
    // The example job as shipped, opened from the copy and run in one step:
    // it names its data file without a folder.
    services.fileAnswers.push_back(paths.examplesCopyDir() + "EXAMPLE.CMD");
    front->form.mnuOpenitem->trigger();
    runToSuccess();
    EXPECT_TRUE(test::readFile(paths.workFile("FT06F001"))
                    .contains("RESPONSE DATA FILE: " + (paths.examplesCopyDir() + "EXAMPLE.DAT").toUtf8()));

    // The same job by hand, with fit statistics and plots.
    front->form.mnuNewitem->trigger();
    onDataFile(paths.examplesCopyDir() + "EXAMPLE.DAT", "(I5,1X,15I1)");
    on<FormItemDef>("FormItemDef", [](FormItemDef& p) {
        p.TextNumberOfItems->setText("15");
        p.OptionConstant->click();
        p.TextNumberOfCategories->setText("6");
        p.CommandNext->click();
    });
    on<FormCutoff>("FormCutoff", [](FormCutoff& p) {
        p.OptionConstant->click();
        p.TextCutOff->setText("2");
        p.CommandNext->click();
    });
    on<FormDeleteItems>("FormDeleteItems", [](FormDeleteItems& p) {
        p.OptionNo->click();
        p.CommandNext->click();
    });
    on<FormDeleteSubjects>("FormDeleteSubjects", [](FormDeleteSubjects& p) {
        p.OptionNo->click();
        p.CommandOK->click();
    });
    onEstimation("30", {"50", "10", "10", "10", "0.001"});
    onFitAndPlots("5", false, "10", "20");
    defineSaveOpenAndRun(8, root.file("home/EXAMPLE8.CMD"), front->form.mnuSaveItem);

    test::EngineJob example;
    example.categories.assign(15, 6);
    example.cutoffs.assign(15, 2);
    const auto counts = test::tabulate(example, test::readFile(paths.examplesDir() + "EXAMPLE.DAT"), 1);
    EXPECT_TRUE(viewReports().contains(processed(counts.front(), 15)));
    viewChart(counts);
    viewPlots(15);
}

TEST_F(Road, AModel3JobWithPerItemCutoffsDiscardsAndMissingResponsesFromTheFirstStartToPrintedResults) {
    // Eight items of five categories, 5 % missing; respondent 20 answers
    // every item just below its cutoff, so the cutoffs alone remove him.
    const std::vector<int> cutoffs{2, 2, 1, 3, 2, 2, 3, 2};
    vormsim::Design design;
    design.model = 3;
    design.items = vormsim::typical_items(3, std::vector<int>(8, 5), 3);
    design.nsubj = 300;
    design.missing_rate = 0.05;
    design.seed = 23;
    vormsim::Data data = vormsim::simulate(design);
    for (std::size_t j = 0; j < cutoffs.size(); ++j) data.resp[19][j] = cutoffs[j] - 1;
    const QString dataFile = root.file(QStringLiteral("home/Études 2026/SCALE3.DAT"));
    QDir().mkpath(QFileInfo(dataFile).path());
    test::writeFile(dataFile, QByteArray::fromStdString(vormsim::data_text(data, 3)));

    startUp();
    front->form.mnuNewitem->trigger();
    onDataFile(dataFile, QString::fromStdString(vormsim::data_format(8, 3)));
    on<FormItemDef>("FormItemDef", [](FormItemDef& p) {
        p.TextNumberOfItems->setText("8");
        p.OptionConstant->click();
        p.TextNumberOfCategories->setText("5");
        p.CommandNext->click();
    });
    on<FormCutoff>("FormCutoff", [&](FormCutoff& p) {
        p.OptionVariable->click();
        QStringList cells;
        for (int c : cutoffs) cells << QString::number(c);
        typeColumn(p, *p.Combo1->lineEdit(), cells);
        p.CommandNext->click();
    });
    on<FormDeleteItems>("FormDeleteItems", [](FormDeleteItems& p) {
        p.OptionYes->click();
        p.TextNumberOfItemsToDiscard->setText("1");
        p.CommandNext->click();
    });
    on<FormItemsDiscarded>("FormItemsDiscarded", [](FormItemsDiscarded& p) {
        typeColumn(p, *p.txtGridEdit, {"3"});
        p.CommandNext->click();
    });
    on<FormDeleteSubjects>("FormDeleteSubjects", [](FormDeleteSubjects& p) {
        p.OptionYes->click();
        p.TextNumberOfSubjectsToDiscard->setText("2");
        p.CommandNext->click();
    });
    on<FormSubjectsDiscarded>("FormSubjectsDiscarded", [](FormSubjectsDiscarded& p) {
        typeColumn(p, *p.txtGridEdit, {"7", "12"});
        p.CommandOK->click();
    });
    // Five cycles and a criterion nothing meets: the engine reaches its
    // cycle limit, says so in the status file and goes on to its end, where
    // the warning stays below " end".
    onEstimation("10", {"5", "2", "5", "5", "0.0000001"});
    endStatus = " end\n  MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n";
    onFitAndPlots("3", true, "5", "10");
    defineSaveOpenAndRun(3, root.file("home/SCALE3.CMD"), front->form.mnuSaveAsItem);

    test::EngineJob job;
    job.categories.assign(8, 5);
    job.discarded = {3};
    job.discardedRespondents = {7, 12};
    job.cutoffs = cutoffs;
    const auto counts = test::tabulate(job, test::readFile(dataFile));
    const QString report = viewReports();
    EXPECT_TRUE(report.contains(processed(counts.front(), 7)));
    EXPECT_TRUE(report.contains(" SUBJECT #      20 DISCARDED DUE TO COMPLETE DISAGREEMENT"));
    EXPECT_TRUE(report.contains(" MAXIMUM NUMBER OF ITERATIONS EXCEEDED")) << "the warning stays in the report";
    viewChart(counts);
    viewPlots(7);
}

}  // namespace
}  // namespace vormgui
