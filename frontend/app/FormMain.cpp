#include "FormMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "core/JobFile.h"
#include "core/JobPage.h"
#include "platform/NativePath.h"
#include "shell/FirstStart.h"
#include "shell/FormFlash.h"
#include "shell/TempOutputs.h"
#include "shell/showHelpPage.h"
#include "widgets/printText.h"

namespace vormgui {

const QString FormMain::kTitle = QStringLiteral("VORM2004");

namespace {

// The column-1 headings that start-up gives the grids of these pages.
struct GridHeading {
    const char* page;
    const char* heading;
};
constexpr GridHeading kGridHeadings[] = {
    {"FormManualAssign", "Sign"},       {"FormCategories", "No. of Categories"},    {"FormCutoff", "Response Cutoffs"},
    {"FormItemsDiscarded", "Item No."}, {"FormSubjectsDiscarded", "Respondent ID"},
};

QMenu* submenu(QWidget* parent, const char* name, const char* caption) {
    auto* menu = new QMenu(QString::fromLatin1(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, const char* caption) {
    QMenu* menu = submenu(parent, name, caption);
    parent->addMenu(menu);
    return menu;
}

// Entries start disabled: a window that is not there yet offers nothing.
QAction* addItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setEnabled(false);
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

FormMain::FormMain(Services& services, const AppPaths& paths, QWidget* parent)
    : QMainWindow(parent), services_(services), paths_(paths), workFolder_(paths.workDir()) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(kTitle);
    resize(720, 480);
    auto* banner = new QLabel(QStringLiteral("<h1>VORM2004</h1><p>Choose a model in the Estimate menu, define the "
                                             "job in the Data, Estimate and Fit menus, then run it from the File "
                                             "menu.</p>"),
                              this);
    banner->setAlignment(Qt::AlignCenter);
    banner->setWordWrap(true);
    banner->setMargin(40);
    setCentralWidget(banner);
    buildMenus();

    attach(mnuNewitem, [this] { mnuNewitem_Click(); });
    attach(mnuSetPrinter, [this] { mnuSetPrinter_Click(); });
    attach(mnuExititem, [this] { mnuExititem_Click(); });
    for (int model = 1; model <= 8; ++model)
        attach(mnuModelitems[model - 1], [this, model] { mnuModelitem_Click(model); });
    attach(mnuTopicitem, [this] { mnuTopicitem_Click(); });
    attach(mnuAboutitem, [this] { mnuAboutitem_Click(); });
    // The job file commands and Print need the pages, so they come with them.
}

FormMain::~FormMain() = default;

void FormMain::buildMenus() {
    QMenuBar* bar = menuBar();

    mnuFile = submenu(this, "mnuFile", "&File");
    mnuNewitem = addItem(mnuFile, "mnuNewitem", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpenitem = addItem(mnuFile, "mnuOpenitem", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSeparateitem2 = addSeparator(mnuFile, "mnuSeparateitem2");
    mnuSaveItem = addItem(mnuFile, "mnuSaveItem", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAsItem = addItem(mnuFile, "mnuSaveAsItem", "S&ave as...");
    mnuSeparateitem3 = addSeparator(mnuFile, "mnuSeparateitem3");
    mnuRunitem = addItem(mnuFile, "mnuRunitem", "&Run");
    mnuSeparateitem4 = addSeparator(mnuFile, "mnuSeparateitem4");
    mnuSetPrinter = addItem(mnuFile, "mnuSetPrinter", "&Set Printer");
    mnuPrintItem = addItem(mnuFile, "mnuPrintItem", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuSeparateitem5 = addSeparator(mnuFile, "mnuSeparateitem5");
    mnuExititem = addItem(mnuFile, "mnuExititem", "E&xit");
    mnuSeparateitem4->setVisible(false);
    mnuSetPrinter->setVisible(false);
    bar->addMenu(mnuFile);

    mnuData = submenu(this, "mnuData", "&Data");
    mnuReaddataitem = addItem(mnuData, "mnuReaddataitem", "&Read Data...");
    mnuDefinitionitem = addItem(mnuData, "mnuDefinitionitem", "&Item Definitions");
    mnuDiscarddataitem = addSubmenu(mnuData, "mnuDiscarddataitem", "&Discard Data");
    mnuResponseitem = addItem(mnuDiscarddataitem, "mnuResponseitem", "Response &Cutoffs");
    mnuDeleteItemsitem = addItem(mnuDiscarddataitem, "mnuDeleteItemsitem", "Delete &Items");
    mnuDeleteSubjectitem = addItem(mnuDiscarddataitem, "mnuDeleteSubjectitem", "Delete &Respondents");
    bar->addMenu(mnuData);

    mnuEstimate = submenu(this, "mnuEstimate", "&Estimate");
    mnuModelitem = addSubmenu(mnuEstimate, "mnuModelitem", "&Model");
    for (int model = 1; model <= 8; ++model) {
        const QByteArray name = "mnuModel" + QByteArray::number(model) + "item";
        const QByteArray caption = "Model &" + QByteArray::number(model);
        QAction* item = addItem(mnuModelitem, name.constData(), caption.constData());
        item->setCheckable(true);
        mnuModelitems[model - 1] = item;
    }
    mnuInitialValues = addItem(mnuEstimate, "mnuInitialValues", "&Initial Values");
    munQuadratureitem = addItem(mnuEstimate, "munQuadratureitem", "&Quadrature");
    mnuAlgorithmitem = addItem(mnuEstimate, "mnuAlgorithmitem", "&Algorithm");
    munConstraintitem = addItem(mnuEstimate, "munConstraintitem", "&Constraints");
    munItemPriorsitem = addSubmenu(mnuEstimate, "munItemPriorsitem", "&Item Priors ");
    munDeltaitem = addItem(munItemPriorsitem, "munDeltaitem", "&Delta");
    mnuAlphaitem = addItem(munItemPriorsitem, "mnuAlphaitem", "&Alpha");
    mnuTauitem = addItem(munItemPriorsitem, "mnuTauitem", "&TAU");
    munItemPriorsitem->menuAction()->setVisible(false);
    bar->addMenu(mnuEstimate);

    mnuFit = submenu(this, "mnuFit", "F&it");
    munStatisticsitem = addSubmenu(mnuFit, "munStatisticsitem", "&Statistics");
    mnuFitGroups = addItem(munStatisticsitem, "mnuFitGroups", "&Fit Groups");
    mnuItemfititem = addItem(munStatisticsitem, "mnuItemfititem", "&Item Fit");
    mnuPersonfititem = addItem(munStatisticsitem, "mnuPersonfititem", "&Person Fit");
    mnuPlotitem = addItem(mnuFit, "mnuPlotitem", "&Plots");
    bar->addMenu(mnuFit);

    mnuOutput = submenu(this, "mnuOutput", "&Output");
    mnuTextOutputitem = addSubmenu(mnuOutput, "mnuTextOutputitem", "&Text Output");
    mnuExeInfo = addItem(mnuTextOutputitem, "mnuExeInfo", "&Execution Information");
    mnuItemPara = addItem(mnuTextOutputitem, "mnuItemPara", "&Item Parameters");
    mnuPersonPara = addItem(mnuTextOutputitem, "mnuPersonPara", "&Person Parameters");
    mnuFitStat = addItem(mnuTextOutputitem, "mnuFitStat", "&Fit Statistics");
    mnuGraphOutputitem = addSubmenu(mnuOutput, "mnuGraphOutputitem", "&Graph Output");
    mnuResponseFrequency = addItem(mnuGraphOutputitem, "mnuResponseFrequency", "&Response Frequency");
    mnuItemFitPlot = addItem(mnuGraphOutputitem, "mnuItemFitPlot", "&Item Fit Plot");
    mnuProbability = addItem(mnuGraphOutputitem, "mnuProbability", "&Category Probability");
    mnuItemCharacteristicCurve =
        addItem(mnuGraphOutputitem, "mnuItemCharacteristicCurve", "&Item Characteristic Curve");
    mnuTestCharacteristicCurve =
        addItem(mnuGraphOutputitem, "mnuTestCharacteristicCurve", "&Test Characteristic Curve");
    mnuInfoCurve = addItem(mnuGraphOutputitem, "mnuInfoCurve", "&Item Information Curve");
    mnuTestInfoCurve = addItem(mnuGraphOutputitem, "mnuTestInfoCurve", "&Test Information Curve");
    mnuExpectedObservedResponse =
        addItem(mnuGraphOutputitem, "mnuExpectedObservedResponse", "&Expected Observed Response");
    mnuEATEstimateDistribution =
        addItem(mnuGraphOutputitem, "mnuEATEstimateDistribution", "&EAP Estimate Distribution");
    mnuItemLocationEstimates = addItem(mnuGraphOutputitem, "mnuItemLocationEstimates", "&Item Location Estimates");
    mnuLatentTraitDistribution =
        addItem(mnuGraphOutputitem, "mnuLatentTraitDistribution", "&Latent Trait Distribution");
    bar->addMenu(mnuOutput);

    mnuHelp = submenu(this, "mnuHelp", "&Help");
    mnuTopicitem = addItem(mnuHelp, "mnuTopicitem", "&Help Topic");
    mnuSeparateitem1 = addSeparator(mnuHelp, "mnuSeparateitem1");
    mnuAboutitem = addItem(mnuHelp, "mnuAboutitem", "&About VORM");
    bar->addMenu(mnuHelp);
}

void FormMain::addPage(JobPage& page) { pages_.push_back(&page); }

void FormMain::attach(QAction* entry, std::function<void()> action) {
    connect(entry, &QAction::triggered, this, [action = std::move(action)] { action(); });
    entry->setEnabled(true);
}

void FormMain::setJobPages(JobPagesAccess& pages) {
    jobPages_ = &pages;
    attach(mnuOpenitem, [this] { mnuOpenitem_Click(); });
    attach(mnuSaveItem, [this] { mnuSaveItem_Click(); });
    attach(mnuSaveAsItem, [this] { mnuSaveAsItem_Click(); });
    attach(mnuRunitem, [this] { mnuRunitem_Click(); });
    attach(mnuPrintItem, [this] { mnuPrintItem_Click(); });
}

bool FormMain::Form_Load() {
    {
        FormFlash flash(services_, this);
        services_.showModal(flash);
    }
    jobSettings.helpDir = paths_.helpDir();
    // Bytes that are not UTF-8 survive into the job file as the engine needs
    // them (JobFile.h), where a descriptor's name would not.
    jobSettings.appDir = fromJobBytes(nativePath(paths_.appDir()));
    firstStart(services_, paths_, kTitle);
    // Before the job reset, whose clean-up would delete another VORM's results.
    QString refusal;
    if (!workFolder_.hold(&refusal)) {
        services_.message(refusal + QStringLiteral("\nThis VORM ends without touching anything in it."), kTitle,
                          MsgIcon::Critical, MsgButtons::Ok);
        ending_ = true;
        services_.endProgram();
        return false;
    }
    for (const GridHeading& h : kGridHeadings)
        for (JobPage* page : pages_)
            if (page->pageName() == QLatin1String(h.page)) page->setGridHeading(QString::fromLatin1(h.heading));
    newJob();
    return true;
}

void FormMain::Form_Unload() {
    ending_ = true;
    clearTempOutputs();
    services_.endProgram();
}

void FormMain::closeEvent(QCloseEvent* event) {
    if (!ending_) {
        if (!mayDropJob()) {
            event->ignore();
            return;
        }
        Form_Unload();
    }
    event->accept();
}

void FormMain::newJob() {
    const bool held = clearTempOutputs();
    setModelNumber(0);
    setNewJobDefaults(jobSettings);
    for (JobPage* page : pages_) page->newJob(jobSettings);
    if (held) saveAsFile(paths_.workFile(QStringLiteral("CMDFLE")));
    keptJob_ = jobText();
}

bool FormMain::clearTempOutputs(QString* refusal) {
    if (!workFolderFree(refusal)) return false;
    vormgui::clearTempOutputs(paths_.workDir());
    return true;
}

bool FormMain::workFolderFree(QString* refusal) {
    if (!workFolder_.hold(refusal)) return false;
    if (workFolder_.engineRuns()) {
        if (refusal)
            *refusal = QStringLiteral(
                           "An engine is still running in the work folder %1; its files are left as they "
                           "are until it ends.")
                           .arg(paths_.workDir());
        return false;
    }
    return true;
}

void FormMain::setModelNumber(int model) {
    jobSettings.modelNumber = static_cast<std::int16_t>(model);
    for (int m = 1; m <= 8; ++m) mnuModelitems[m - 1]->setChecked(m == model);
}

void FormMain::showHelpPage(const QString& page) { vormgui::showHelpPage(services_, jobSettings.helpDir, page); }

void FormMain::mnuNewitem_Click() {
    if (mayDropJob()) newJob();
}

void FormMain::mnuSetPrinter_Click() { services_.choosePrinter(); }

void FormMain::mnuPrintItem_Click() {
    // The job is printed as it was just written.
    if (const std::optional<QByteArray> job = saveJob(paths_.workFile(QStringLiteral("CMDFLE"))))
        printText(services_, fromJobBytes(*job));
}

void FormMain::mnuExititem_Click() {
    if (!mayDropJob()) return;
    ending_ = true;
    services_.endProgram();
}

void FormMain::mnuModelitem_Click(int model) { setModelNumber(model); }

void FormMain::mnuTopicitem_Click() { showHelpPage(QStringLiteral("Topic.htm")); }

void FormMain::mnuAboutitem_Click() { showHelpPage(QStringLiteral("about.htm")); }

}  // namespace vormgui
