#include "shell/JobFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <type_traits>

#include "JobTestSupport.h"
#include "gui_test_support.h"
#include "platform/Numbers.h"

namespace vormgui {
namespace {

using test::newJobControls;

const QString kAppDir = QStringLiteral("/opt/vorm/");

QByteArray golden() { return test::readFile(test::sourceDir() + "tests/frontend/shell/golden/default_job.cmd"); }

QStringList linesOf(const QByteArray& text) {
    QStringList lines = QString::fromUtf8(text).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "every line ends in CR LF";
    return lines;
}

TEST(JobFileWriter, TheDefaultJobIsTheHandWrittenFile) {
    JobSettings job;
    setNewJobDefaults(job);
    const std::optional<QByteArray> text = jobFileText(newJobControls(), job, kAppDir, nullptr);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, golden());
    EXPECT_EQ(linesOf(*text).size(), 22);
}

// Two jobs whose files are written out by hand: every fallback and every
// conditional line, labels in the print zone after the value.
TEST(JobFileWriter, FallbacksForEmptyBoxesOnlyAndTheConditionalLines) {
    const struct {
        std::function<void(JobControls&, JobSettings&)> change;
        const char* file;
    } cases[] = {
        {[](JobControls& c, JobSettings& j) {
             c.checkedModel = 5;
             c.quadraturePoints = c.numberOfItems = c.numberOfCategories = c.cutoff = QString();
             c.discardItems = true, c.itemsToDiscard = "3", c.itemCells = {"4", "7", "", "9"};
             c.outerCycles = "12345678901234", c.innerCycles = "   ";
             c.thresholdIterations = c.itemIterations = c.criterion = QString();
             j.wantPlots = j.wantFitStatistics = true;
             c.plotGroups = c.thetaDeltaGroups = c.fitGroups = c.itemTCutoff = QString();
             c.printPersonFit = true;
         },
         R"(5             ESTIMATE PARAMETERS OF MODEL 5
N             CONSTRAINTS ARE NOT USED
N             DO NOT CHANGE THE SIGN OF INITIAL PARAMETER ESTIMATES
0             ERROR: NUMBER OF QUADRATURE POINTS INVALID
/opt/vorm/INDATA.DAT
(i4,1x,25i1)
0             ERROR: NUMBER OF ITEMS MISSING
Y             IS NUMBER OF CATEGORIES CONSTANT?
0             ERROR: NUMBER OF RESPONSE CATEGORIES MISSING
N             DO YOU WANT TO RECODE THE DATA?
Y             IS RESPONSE CUTOFF CONSTANT?
0             ERROR: RESPONSE CUTOFF MISSING
Y             DISCARD ANY ITMES
3             NUMBER OF ITEMS TO DISCARD
4
7

N             DISCARD ANY PEOPLE
N             SIGNS OF INITIAL LOCATION ESTIMATES NOT MANUALLY ASSIGNED
12345678901234              NUMBER OF OUTER CYCLES
              NUMBER OF INNER CYCLES
0             NUMBER OF FISHER SCORING ITERATIONS FOR THRESHOLDS
0             NUMBER OF FISHER SCORING ITERATIONS FOR DELTAS & ALPHAS
0             CRITERION
Y             WANT TO PLOT
1             NUMBER OF PLOT GROUPS
1             NUMBER OF THETA-DELTA PAIR GROUPS
Y             WANT FIT STATISTICS
1             NUMBER OF FIT GROUPS
Y             PRINT FIT FOR EVERY PERSON
0             ITEM T-VALUE CUTOFF
0.01          ITEM CHI-SQUARE PROBABILITY CUTOFF
3.291         PERSON T-VALUE CUTOFF
0.001         PERSON CHI-SQUARE PROBABILITY CUTOFF
2.576         PERSON LOCALIZED T-VALUE CUTOFF
)"},
        {[](JobControls& c, JobSettings& j) {
             j.useConstraint = j.reverseSigns = j.manualSigns = true;
             j.numItems = 3, j.initialSigns[1] = false, j.initialSigns[2] = j.initialSigns[3] = true;
             c.dataFile = " /data/my file.dat", c.fortranFormat = "(I5,1X,3I1)", c.recode = true;
             c.categoriesConstant = c.cutoffConstant = false;
             c.categoryCells = {"3", "", "10", "7"}, c.cutoffCells = {"1", "0", "2"};
             c.discardSubjects = true, c.subjectsToDiscard = "1", c.subjectCells = {"1001", "17"};
         },
         R"(0             ERROR: MODEL NUMBER SHOULD BE FROM 1 TO 8
Y             CONSTRAINTS ARE USED
Y             CHANGE THE SIGN OF INITIAL PARAMETER ESTIMATES
30            NUMBER OF QUADRATURE POINTS
 /data/my file.dat
(I5,1X,3I1)
2             NUMBER OF ITEMS
N             IS NUMBER OF CATEGORIES CONSTANT?
3

10
Y             DO YOU WANT TO RECODE THE DATA?
N             IS RESPONSE CUTOFF CONSTANT?
1
0
2
N             DISCARD ANY ITEMS
Y             DISCARD ANY PEOPLE
1             NUMBER OF RESPONDENTS TO DISCARD
1001
Y             SIGNS OF INITIAL LOCATION ESTIMATES MANUALLY ASSIGNED
-
+
+
100           NUMBER OF OUTER CYCLES
10            NUMBER OF INNER CYCLES
30            NUMBER OF FISHER SCORING ITERATIONS FOR THRESHOLDS
30            NUMBER OF FISHER SCORING ITERATIONS FOR DELTAS & ALPHAS
0.001         CRITERION
N             WANT TO PLOT
N             WANT FIT STATISTICS
)"},
    };
    for (const auto& k : cases) {
        JobControls controls = newJobControls();
        JobSettings job;
        setNewJobDefaults(job);
        k.change(controls, job);
        const std::optional<QByteArray> text = jobFileText(controls, job, kAppDir, nullptr);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, QByteArray(k.file).replace("\n", "\r\n"));
    }
}

TEST(JobFileWriter, RefusesListsItCannotWrite) {
    const struct {
        std::function<void(JobControls&, JobSettings&)> change;
        const char* error;
    } cases[] = {
        {[](JobControls& c, JobSettings&) {
             c.discardItems = true;
             c.itemsToDiscard = "two";
         },
         "The number of items to discard is not a whole number"},
        {[](JobControls& c, JobSettings&) {
             c.discardSubjects = true;
             c.subjectsToDiscard = "3";
             c.subjectCells = {"1", "2"};
         },
         "The list of respondents to discard has 2 rows, not 3"},
        {[](JobControls& c, JobSettings& j) {
             c.categoriesConstant = false;
             j.numItems = 3;
         },
         "The categories grid has no row for item 3"},
        {[](JobControls&, JobSettings& j) {
             j.manualSigns = true;
             j.numItems = 101;
         },
         "There is no sign for item 101"},
    };
    for (const auto& k : cases) {
        JobControls controls = newJobControls();
        JobSettings job;
        setNewJobDefaults(job);
        k.change(controls, job);
        QString error;
        EXPECT_FALSE(jobFileText(controls, job, kAppDir, &error));
        EXPECT_EQ(error, QString::fromLatin1(k.error));
    }
}

TEST(JobFileNumbers, FirstTokenUpToTheFirstBlank) {
    const struct {
        const char* line;
        std::optional<std::int16_t> number;
        std::optional<double> real;
    } cases[] = {
        {"30", 30, 30.0},
        {"30            NUMBER", 30, 30.0},
        {" 30", {}, {}},
        {"2.5", 2, 2.5},
        {"3.5 LABEL", 4, 3.5},
        {"-2.5", -2, -2.5},
        {"0.010", 0, 0.01},
        {"1e-07 CRITERION", 0, 1e-07},
        {"32767", 32767, 32767.0},
        {"32768", {}, 32768.0},
        {"-32768", -32768, -32768.0},
        {"30\tLABEL", {}, {}},
        {"", {}, {}},
        {"0,001", {}, {}},
        {"N", {}, {}},
        {"30,LABEL 5", {}, {}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(firstNumber(QString::fromLatin1(k.line)), k.number) << '"' << k.line << '"';
        EXPECT_EQ(firstReal(QString::fromLatin1(k.line)), k.real) << '"' << k.line << '"';
    }
}

// The default job's lines with edits: line numbers from 1, a null text removes
// the line, and lines after `insertAfter` come in after it.
QByteArray editedDefault(const std::vector<std::pair<int, const char*>>& edits, int insertAfter = 0,
                         const QStringList& inserted = {}) {
    QStringList lines = linesOf(golden());
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
        if (it->second)
            lines[it->first - 1] = QString::fromLatin1(it->second);
        else
            lines.removeAt(it->first - 1);
    }
    for (int k = 0; k < inserted.size(); ++k) lines.insert(insertAfter + k, inserted[k]);
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

TEST(JobFileReader, TokensRoundingAndTheEndOfTheFile) {
    const struct {
        const char* what;
        QByteArray file;
        std::function<void(const JobFileContents&)> check;  // null: refused
        const char* error = "";
    } cases[] = {
        {"a bare number", editedDefault({{4, "30"}}), [](auto& f) { EXPECT_EQ(f.numQuadraturePoints, 30); }},
        {"a number and its label", editedDefault({{4, "30   LABEL"}}),
         [](auto& f) { EXPECT_EQ(f.numQuadraturePoints, 30); }},
        {"a leading blank", editedDefault({{4, " 30"}}), nullptr, "Line 4 is not a whole number from -32768 to 32767"},
        {"halves to even", editedDefault({{4, "2.5"}, {16, "3.5"}}),
         [](auto& f) {
             EXPECT_EQ(f.numQuadraturePoints, 2);
             EXPECT_EQ(f.numOuterCycles, 4);
         }},
        {"LF line ends", golden().replace("\r\n", "\n"), [](auto& f) { EXPECT_EQ(f.numItems, 2); }},
        {"an early end", editedDefault({{22, nullptr}}), nullptr, "The file ends before line 22, which the job needs"},
        {"an empty yes/no line", editedDefault({{10, ""}}), nullptr, "Line 10 is empty where Y or N is needed"},
        {"150 items with categories per item", editedDefault({{7, "150"}, {8, "N"}}), nullptr,
         "Line 8 asks for a value per item for 150 items; a job holds at most 100"},
        {"150 items with every setting constant", editedDefault({{7, "150"}}),
         [](auto& f) { EXPECT_EQ(f.numItems, 150); }},
        {"a negative item count", editedDefault({{7, "-1"}}), nullptr, "Line 7 is a negative number of items"},
        {"line 8 with a lower-case n, the word No or a blank first: per item",
         editedDefault({{8, "n"}, {9, nullptr}}, 8, {"3", "4"}),
         [](auto& f) {
             EXPECT_FALSE(f.categoriesConstant);
             EXPECT_EQ(f.numCategories, (std::vector<std::int16_t>{3, 4}));
         }},
        {"No", editedDefault({{8, "No"}, {9, nullptr}}, 8, {"3", "4"}),
         [](auto& f) { EXPECT_FALSE(f.categoriesConstant); }},
        {"blank Y", editedDefault({{8, " Y"}, {9, nullptr}}, 8, {"3", "4"}),
         [](auto& f) { EXPECT_FALSE(f.categoriesConstant); }},
        {"lower-case y", editedDefault({{8, "yes"}}), [](auto& f) { EXPECT_TRUE(f.categoriesConstant); }},
        {"the discard-respondents answer skips leading blanks", editedDefault({{14, "  Y,more"}}, 14, {"1", "1001"}),
         [](auto& f) { EXPECT_EQ(f.subjectsToDiscard, std::vector<std::int16_t>{1001}); }},
        {"more respondents to discard than a job holds", editedDefault({{14, "Y"}}, 14, {"2001"}), nullptr,
         "Line 15 asks for 2001 respondents to discard; a job holds at most 2000"},
        {"an empty sign line", editedDefault({{15, "Y"}}, 15, {"+", ""}), nullptr,
         "Line 17 is empty where the sign of item 2 is needed"},
        {"signs: + is plus, anything else minus", editedDefault({{15, "Y"}}, 15, {"+ first", "x"}),
         [](auto& f) {
             EXPECT_EQ(f.initialSigns, (std::vector<bool>{true, false}));
         }},
        {"fit statistics Y and then the end", editedDefault({{22, "Y"}}), nullptr,
         "The file ends before line 23, which the job needs"},
        {"lines after the last one needed", editedDefault({}, 22, {"anything", ""}),
         [](auto& f) { EXPECT_FALSE(f.wantFitStatistics); }},
        {"person cut-offs as delimited fields",
         editedDefault({{22, "Y"}}, 22, {"5", "N", "2", "0.05", "  3.5 LABEL", "0.001,x", " 2"}),
         [](auto& f) {
             EXPECT_EQ(f.personTCutoff, 3.5);
             EXPECT_EQ(f.personChiSquareCutoff, 0.001);
             EXPECT_EQ(f.localizedPersonTCutoff, 2.0);
         }},
    };
    for (const auto& k : cases) {
        QString error;
        const std::optional<JobFileContents> f = readJobFile(k.file, &error);
        if (!k.check) {
            EXPECT_FALSE(f) << k.what;
            EXPECT_EQ(error, QString::fromLatin1(k.error)) << k.what;
        } else if (f) {
            k.check(*f);
        } else {
            ADD_FAILURE() << k.what << ": refused with " << error.toStdString();
        }
    }
}

// The record's fields that the job file carries, as text.
QStringList carried(const JobSettings& j) {
    QStringList s;
    const auto add = [&s](const char* name, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QString>)
            s << QString::fromLatin1(name) + "=" + value;
        else
            s << QString::fromLatin1(name) + "=" + messageNumber(static_cast<double>(value));
    };
    add("model", j.modelNumber), add("constraint", j.useConstraint), add("reverse", j.reverseSigns);
    add("quad", j.numQuadraturePoints), add("data", j.dataFileName), add("format", j.fortranFormat);
    add("items", j.numItems), add("catConst", j.categoriesConstant), add("recode", j.recodeData);
    add("cutConst", j.cutoffConstant);
    for (int i = j.categoriesConstant ? 0 : 1; i <= (j.categoriesConstant ? 0 : j.numItems); ++i)
        add("cat", j.numCategories[i]);
    for (int i = j.cutoffConstant ? 0 : 1; i <= (j.cutoffConstant ? 0 : j.numItems); ++i)
        add("cut", j.responseCutoff[i]);
    add("discardItems", j.discardItems), add("discardSubjects", j.discardSubjects), add("signs", j.manualSigns);
    for (int i = 1; j.discardItems && i <= j.numItemsToDiscard; ++i) add("item", j.itemsToDiscard[i]);
    for (int i = 1; j.discardSubjects && i <= j.numSubjectsToDiscard; ++i) add("subject", j.subjectsToDiscard[i]);
    for (int i = 1; j.manualSigns && i <= j.numItems; ++i) add("sign", j.initialSigns[i]);
    add("outer", j.numOuterCycles), add("inner", j.numInnerCycles), add("thr", j.numThresholdIterations);
    add("itIter", j.numItemIterations), add("conv", j.convergenceCriterion), add("plots", j.wantPlots);
    add("plotGroups", j.numPlotGroups), add("tdGroups", j.numThetaDeltaGroups), add("fit", j.wantFitStatistics);
    add("fitGroups", j.numFitGroups), add("printAll", j.printPersonFit), add("itT", j.itemTCutoff);
    add("itChi", j.itemChiSquareCutoff), add("psT", j.personTCutoff), add("psChi", j.personChiSquareCutoff);
    add("psLoc", j.localizedPersonTCutoff);
    return s;
}

// A valid job as the pages would hold it: every box in the form a page
// writes back, and what the file does not carry at its reset value.
void randomJob(std::mt19937& rng, JobControls& c, JobSettings& j) {
    const auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    const auto coin = [&pick] { return pick(0, 1) == 1; };
    const auto text = [](auto n) { return QString::number(n); };
    c = newJobControls();
    setNewJobDefaults(j);
    j.modelNumber = static_cast<std::int16_t>(pick(1, 8));
    c.checkedModel = j.modelNumber;
    j.useConstraint = coin(), j.reverseSigns = coin();
    j.numQuadraturePoints = static_cast<std::int16_t>(pick(1, 50)), c.quadraturePoints = text(j.numQuadraturePoints);
    c.dataFile = j.dataFileName = QStringLiteral("/data/set %1/résumé.dat").arg(pick(1, 99));
    c.fortranFormat = j.fortranFormat = QStringLiteral("(I5,1X,%1I1)").arg(pick(1, 99));
    j.numItems = static_cast<std::int16_t>(pick(1, 100)), c.numberOfItems = text(j.numItems);
    c.cutoffCells = QStringList(j.numItems, QString());
    c.categoriesConstant = j.categoriesConstant = coin();
    c.cutoffConstant = j.cutoffConstant = coin();
    const int constantCats = pick(2, 10);
    j.numCategories[0] = static_cast<std::int16_t>(constantCats);
    if (j.categoriesConstant) c.numberOfCategories = text(constantCats);
    if (!j.categoriesConstant) c.categoryCells.clear();
    for (int i = 1; i <= j.numItems; ++i) {
        const int cats = j.categoriesConstant ? constantCats : pick(2, 10);
        if (!j.categoriesConstant) j.numCategories[i] = static_cast<std::int16_t>(cats), c.categoryCells << text(cats);
        if (!j.cutoffConstant) j.responseCutoff[i] = static_cast<std::int16_t>(pick(0, cats - 1));
        if (!j.cutoffConstant) c.cutoffCells[i - 1] = text(j.responseCutoff[i]);
    }
    j.responseCutoff[0] = static_cast<std::int16_t>(pick(0, constantCats - 1));
    if (j.cutoffConstant) c.cutoff = text(j.responseCutoff[0]);
    c.recode = j.recodeData = coin();
    if ((c.discardItems = j.discardItems = coin())) {
        j.numItemsToDiscard = static_cast<std::int16_t>(pick(1, 5)), c.itemsToDiscard = text(j.numItemsToDiscard);
        c.itemCells.clear();
        for (int i = 1; i <= j.numItemsToDiscard; ++i)
            j.itemsToDiscard[i] = static_cast<std::int16_t>(pick(1, 100)), c.itemCells << text(j.itemsToDiscard[i]);
    }
    if ((c.discardSubjects = j.discardSubjects = coin())) {
        j.numSubjectsToDiscard = static_cast<std::int16_t>(pick(1, 5));
        c.subjectsToDiscard = text(j.numSubjectsToDiscard);
        c.subjectCells.clear();
        for (int i = 1; i <= j.numSubjectsToDiscard; ++i)
            j.subjectsToDiscard[i] = static_cast<std::int16_t>(pick(-50, 32767)),
            c.subjectCells << text(j.subjectsToDiscard[i]);
    }
    if ((j.manualSigns = coin())) {
        c.signCells.clear();
        for (int i = 1; i <= j.numItems; ++i)
            j.initialSigns[i] = coin(), c.signCells << (j.initialSigns[i] ? "+" : "-");
    }
    j.numOuterCycles = static_cast<std::int16_t>(pick(5, 999)), c.outerCycles = text(j.numOuterCycles);
    j.numInnerCycles = static_cast<std::int16_t>(pick(1, 99)), c.innerCycles = text(j.numInnerCycles);
    j.numThresholdIterations = static_cast<std::int16_t>(pick(1, 99));
    c.thresholdIterations = text(j.numThresholdIterations);
    j.numItemIterations = static_cast<std::int16_t>(pick(1, 99)), c.itemIterations = text(j.numItemIterations);
    const double criteria[] = {0.01, 0.005, 0.001, 1e-4, 1e-07, 0.0};
    j.convergenceCriterion = criteria[pick(0, 5)], c.criterion = boxText(j.convergenceCriterion);
    if ((j.wantPlots = coin())) {
        j.numPlotGroups = static_cast<std::int16_t>(pick(2, 20)), c.plotGroups = text(j.numPlotGroups);
        j.numThetaDeltaGroups = static_cast<std::int16_t>(pick(2, 2000));
        c.thetaDeltaGroups = text(j.numThetaDeltaGroups);
    }
    if ((j.wantFitStatistics = coin())) {
        j.numFitGroups = static_cast<std::int16_t>(pick(1, 20)), c.fitGroups = text(j.numFitGroups);
        c.printPersonFit = j.printPersonFit = coin();
        const double reals[] = {2.576, 1.96, -1.5, 0.05, 0.2, 0.001, 3.291, 0.0};
        for (auto [field, box] : std::initializer_list<std::pair<double*, QString*>>{
                 {&j.itemTCutoff, &c.itemTCutoff},
                 {&j.itemChiSquareCutoff, &c.itemChiSquareCutoff},
                 {&j.personTCutoff, &c.personTCutoff},
                 {&j.personChiSquareCutoff, &c.personChiSquareCutoff},
                 {&j.localizedPersonTCutoff, &c.localizedPersonTCutoff}})
            *field = reals[pick(0, 7)], *box = boxText(*field);
    }
}

TEST(JobFileRoundTrip, WriteReadWriteKeepsTheBytesTheRecordAndTheControls) {
    std::mt19937 rng(20);
    for (int round = 0; round < 300; ++round) {
        JobControls before;
        JobSettings job;
        randomJob(rng, before, job);
        const std::optional<QByteArray> text = jobFileText(before, job, kAppDir, nullptr);
        ASSERT_TRUE(text);
        QString error;
        const std::optional<JobFileContents> file = readJobFile(*text, &error);
        ASSERT_TRUE(file) << error.toStdString() << "\n" << text->toStdString();

        JobSettings opened;
        setNewJobDefaults(opened);
        storeInRecord(*file, opened);
        JobControls after = newJobControls();
        showInControls(*file, after);
        EXPECT_EQ(carried(opened), carried(job)) << "round " << round;
        EXPECT_TRUE(after == before) << "round " << round << "\n" << text->toStdString();
        EXPECT_EQ(jobFileText(after, opened, kAppDir, nullptr), text) << "round " << round;
    }
}

}  // namespace
}  // namespace vormgui
