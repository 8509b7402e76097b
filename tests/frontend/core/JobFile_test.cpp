#include "core/JobFile.h"

#include <gtest/gtest.h>

#include <functional>

#include "JobTestSupport.h"
#include "gui_test_support.h"

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

// A count box or cell is written as the count it holds ("15" for " 15"), so
// that File Open and the engine read the number back; other texts go out as
// they are.
TEST(JobFileWriter, CountsGoOutInTheFormThatTheReaderAndTheEngineRead) {
    JobControls c = newJobControls();
    JobSettings job;
    setNewJobDefaults(job);
    job.numItems = 3;
    c.quadraturePoints = " 15", c.numberOfItems = "+3 ", c.categoriesConstant = false;
    c.categoryCells = {"04", " 5", "6\t"}, c.cutoffConstant = true, c.cutoff = " +0";
    c.discardItems = true, c.itemsToDiscard = " 2", c.itemCells = {" 1", "+3"};
    c.discardSubjects = true, c.subjectsToDiscard = "2", c.subjectCells = {" +2400901", "-09223372036854775808"};
    c.outerCycles = "0050", c.innerCycles = "30.0", c.criterion = " 0.01";
    const std::optional<QByteArray> text = jobFileText(c, job, kAppDir, nullptr);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QByteArray(R"(0             ERROR: MODEL NUMBER SHOULD BE FROM 1 TO 8
N             CONSTRAINTS ARE NOT USED
N             DO NOT CHANGE THE SIGN OF INITIAL PARAMETER ESTIMATES
15            NUMBER OF QUADRATURE POINTS
/opt/vorm/INDATA.DAT
(i4,1x,25i1)
3             NUMBER OF ITEMS
N             IS NUMBER OF CATEGORIES CONSTANT?
4
5
6
N             DO YOU WANT TO RECODE THE DATA?
Y             IS RESPONSE CUTOFF CONSTANT?
0             RESPONSE CUTOFF
Y             DISCARD ANY ITMES
2             NUMBER OF ITEMS TO DISCARD
1
3
Y             DISCARD ANY PEOPLE
2             NUMBER OF RESPONDENTS TO DISCARD
2400901
-9223372036854775808
N             SIGNS OF INITIAL LOCATION ESTIMATES NOT MANUALLY ASSIGNED
50            NUMBER OF OUTER CYCLES
30.0          NUMBER OF INNER CYCLES
30            NUMBER OF FISHER SCORING ITERATIONS FOR THRESHOLDS
30            NUMBER OF FISHER SCORING ITERATIONS FOR DELTAS & ALPHAS
 0.01         CRITERION
N             WANT TO PLOT
N             WANT FIT STATISTICS
)")
                         .replace("\n", "\r\n"));
}

TEST(JobFileWriter, RefusesListsItCannotWriteAndLineBreaksInABoxOrCell) {
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
        {[](JobControls& c, JobSettings&) { c.dataFile = "/data/pasted.dat\n"; },
         "Line 5 of the job would hold a line break"},
        {[](JobControls& c, JobSettings&) {
             c.cutoffConstant = false;
             c.cutoffCells = {"1", "2\r3"};
         },
         "Line 13 of the job would hold a line break"},
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

// The first value of a line as the engine's free-format reading takes it.
TEST(JobFileNumbers, TheFirstValueAsTheEngineReadsIt) {
    const struct {
        const char* line;
        std::optional<std::int16_t> number;
        std::optional<double> real;
    } cases[] = {
        {"30", 30, 30.0},
        {"30            NUMBER", 30, 30.0},
        {" 30", 30, 30.0},
        {"\t 30\tLABEL", 30, 30.0},
        {"+7", 7, 7.0},
        {"-2", -2, -2.0},
        {"+-2", {}, {}},
        {"2.5", {}, 2.5},
        {"3.5 LABEL", {}, 3.5},
        {"30.0", {}, 30.0},
        {"0.010", {}, 0.01},
        {"1e-07 CRITERION", {}, 1e-07},
        {"1.D-3", {}, 0.001},
        {"1.d-3", {}, 0.001},
        {"25Q-1", {}, 2.5},
        {"1D2D3", {}, {}},
        {"1E", {}, {}},
        {"inf", {}, {}},
        {"32767", 32767, 32767.0},
        {"32768", {}, 32768.0},
        {"-32768", -32768, -32768.0},
        {"0,001", 0, 0.0},
        {"30,LABEL 5", 30, 30.0},
        {"30/", 30, 30.0},
        {"", {}, {}},
        {"   ", {}, {}},
        {"N", {}, {}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(firstNumber(QString::fromLatin1(k.line)), k.number) << '"' << k.line << '"';
        EXPECT_EQ(firstReal(QString::fromLatin1(k.line)), k.real) << '"' << k.line << '"';
    }
}

// Bytes that are no UTF-8 text come back as they were: every byte value, the
// broken and overlong forms and a surrogate encoded in UTF-8; UTF-8 text
// reads as its characters.
TEST(JobFileBytes, EveryByteSurvivesAndUtf8ReadsAsText) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QByteArray cases[] = {all,
                                "donn\xe9"
                                "es.dat",
                                "\xc3",
                                "\xc3\x28",
                                "\xe0\x80\xaf",
                                "\xed\xa0\x80",
                                "\xf4\x90\x80\x80",
                                "\xf0\x9f\x98\x80\xe9",
                                "r\xc3\xa9sum\xc3\xa9"};
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(toJobBytes(fromJobBytes(bytes)), bytes) << bytes.toHex().toStdString();
    EXPECT_EQ(fromJobBytes("r\xc3\xa9sum\xc3\xa9"), QString::fromUtf8("r\xc3\xa9sum\xc3\xa9"));
    EXPECT_EQ(fromJobBytes("\xf0\x9f\x98\x80"), QString::fromUtf8("\xf0\x9f\x98\x80"));
    EXPECT_EQ(toJobBytes(QStringLiteral("/data/\u00e9t\u00e9.dat")), "/data/\xc3\xa9t\xc3\xa9.dat");

    // U+1F480 is the surrogate pair D83D DC80, whose low half looks like an
    // escaped byte 0x80: Save writes it as UTF-8 and Open reads it back.
    const QString skull = QString::fromUtf8("/data/\xf0\x9f\x92\x80 set/\xf0\x9f\x92\x80.dat");
    ASSERT_TRUE(skull.contains(QChar(0xDC80)));
    JobControls c = newJobControls();
    c.dataFile = skull;
    JobSettings job;
    setNewJobDefaults(job);
    const std::optional<QByteArray> saved = jobFileText(c, job, kAppDir, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->split('\n').value(4), "/data/\xf0\x9f\x92\x80 set/\xf0\x9f\x92\x80.dat\r");
    JobControls opened;
    ASSERT_TRUE(readJobFile(*saved, job, opened, nullptr));
    EXPECT_EQ(opened.dataFile, skull);
    EXPECT_EQ(job.dataFileName, skull);
}

// The default job's lines with edits: line numbers from 1, a null text removes
// the line, and lines after `insertAfter` come in after it.
QByteArray editedDefault(const std::vector<std::pair<int, std::optional<QByteArray>>>& edits, int insertAfter = 0,
                         const QList<QByteArray>& inserted = {}) {
    QList<QByteArray> lines = golden().split('\n');
    lines.removeLast();
    for (QByteArray& l : lines) l.chop(1);
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
        if (it->second)
            lines[it->first - 1] = *it->second;
        else
            lines.removeAt(it->first - 1);
    }
    for (int k = 0; k < inserted.size(); ++k) lines.insert(insertAfter + k, inserted[k]);
    return lines.join("\r\n") + "\r\n";
}

// Each line read as the engine reads it, so that Save writes back the job
// that the engine would have run.
TEST(JobFileReader, LinesAsTheEngineReadsThemAndTheEndOfTheFile) {
    const QByteArray longest(32767, 'd'), tooLong(32768, 'd');
    const struct {
        const char* what;
        QByteArray file;
        std::function<void(const JobSettings&)> check;  // null: refused
        const char* error = "";
    } cases[] = {
        {"a bare number", editedDefault({{4, "30"}}), [](auto& f) { EXPECT_EQ(f.numQuadraturePoints, 30); }},
        {"a number and its label", editedDefault({{4, "30   LABEL"}}),
         [](auto& f) { EXPECT_EQ(f.numQuadraturePoints, 30); }},
        {"a leading blank", editedDefault({{4, " 30"}}), [](auto& f) { EXPECT_EQ(f.numQuadraturePoints, 30); }},
        {"lines of blanks before a number are passed over", editedDefault({}, 3, {"", "  \t "}),
         [](auto& f) {
             EXPECT_EQ(f.numQuadraturePoints, 30);
             EXPECT_EQ(f.numItems, 2);
         }},
        {"a count with a point", editedDefault({{4, "2.5"}}), nullptr,
         "Line 4 is not a whole number from -32768 to 32767"},
        {"a criterion with a D exponent", editedDefault({{20, "1.D-3      CRITERION"}}),
         [](auto& f) { EXPECT_EQ(f.convergenceCriterion, 0.001); }},
        {"LF line ends", golden().replace("\r\n", "\n"), [](auto& f) { EXPECT_EQ(f.numItems, 2); }},
        {"an early end", editedDefault({{22, std::nullopt}}), nullptr,
         "The file ends before line 22, which the job needs"},
        {"an empty yes/no line is no", editedDefault({{8, ""}, {9, std::nullopt}}, 8, {"3", "4"}),
         [](auto& f) { EXPECT_FALSE(f.categoriesConstant); }},
        {"150 items with categories per item", editedDefault({{7, "150"}, {8, "N"}}), nullptr,
         "Line 8 asks for a value per item for 150 items; a job holds at most 100"},
        {"150 items with every setting constant", editedDefault({{7, "150"}}),
         [](auto& f) { EXPECT_EQ(f.numItems, 150); }},
        {"a negative item count", editedDefault({{7, "-1"}}), nullptr, "Line 7 is a negative number of items"},
        {"line 8 with a lower-case n, the word No or a blank first: per item",
         editedDefault({{8, "n"}, {9, std::nullopt}}, 8, {"3", "4"}),
         [](auto& f) {
             EXPECT_FALSE(f.categoriesConstant);
             EXPECT_EQ(f.numCategories[1], 3);
             EXPECT_EQ(f.numCategories[2], 4);
         }},
        {"No", editedDefault({{8, "No"}, {9, std::nullopt}}, 8, {"3", "4"}),
         [](auto& f) { EXPECT_FALSE(f.categoriesConstant); }},
        {"blank Y", editedDefault({{8, " Y"}, {9, std::nullopt}}, 8, {"3", "4"}),
         [](auto& f) { EXPECT_FALSE(f.categoriesConstant); }},
        {"lower-case y", editedDefault({{8, "yes"}}), [](auto& f) { EXPECT_TRUE(f.categoriesConstant); }},
        {"a blank before the discard-respondents Y is a no", editedDefault({{14, "  Y,more"}}),
         [](auto& f) { EXPECT_FALSE(f.discardSubjects); }},
        {"respondents to discard", editedDefault({{14, "Y,more"}}, 14, {"1", "  1001"}),
         [](auto& f) {
             EXPECT_EQ(f.numSubjectsToDiscard, 1);
             EXPECT_EQ(f.subjectsToDiscard[1], 1001);
         }},
        {"more respondents to discard than a job holds", editedDefault({{14, "Y"}}, 14, {"2001"}), nullptr,
         "Line 15 asks for 2001 respondents to discard; a job holds at most 2000"},
        {"respondent identifiers are any whole numbers of 64 bits",
         editedDefault({{14, "Y"}}, 14,
                       {"4", "40001", "", "  +2400901,x", "-9223372036854775808", "9223372036854775807"}),
         [](auto& f) {
             EXPECT_EQ(f.numSubjectsToDiscard, 4);
             EXPECT_EQ(f.subjectsToDiscard[1], 40001);
             EXPECT_EQ(f.subjectsToDiscard[2], 2400901);
             EXPECT_EQ(f.subjectsToDiscard[3], INT64_MIN);
             EXPECT_EQ(f.subjectsToDiscard[4], INT64_MAX);
             EXPECT_EQ(f.numOuterCycles, 100);
         }},
        {"a respondent identifier past 64 bits", editedDefault({{14, "Y"}}, 14, {"2", "40001", "9223372036854775808"}),
         nullptr,
         "Line 17 is not a respondent identifier, a whole number from -9223372036854775808 to 9223372036854775807"},
        {"a respondent identifier with a point", editedDefault({{14, "Y"}}, 14, {"1", "40001.0"}), nullptr,
         "Line 16 is not a respondent identifier, a whole number from -9223372036854775808 to 9223372036854775807"},
        {"signs: blank lines and lines without a sign are passed over",
         editedDefault({{15, "Y"}}, 15, {"", " + first", "x", "  \t-"}),
         [](auto& f) {
             EXPECT_TRUE(f.initialSigns[1]);
             EXPECT_FALSE(f.initialSigns[2]);
             EXPECT_EQ(f.numOuterCycles, 100);
         }},
        {"a sign too few", editedDefault({{15, "Y"}}, 15, {"+"}), nullptr,
         "The file ends before line 24, which the job needs"},
        {"fit statistics Y and then the end", editedDefault({{22, "Y"}}), nullptr,
         "The file ends before line 23, which the job needs"},
        {"lines after the last one needed", editedDefault({}, 22, {"anything", ""}),
         [](auto& f) { EXPECT_FALSE(f.wantFitStatistics); }},
        {"the print-every-person answer passes over lines that are neither Y nor N, and cut-offs end at a comma",
         editedDefault({{22, "Y"}}, 22, {"5", "", "X", "n", "2", "0.05", "  3.5 LABEL", "0.001,x", "", " 2D0"}),
         [](auto& f) {
             EXPECT_FALSE(f.printPersonFit);
             EXPECT_EQ(f.itemTCutoff, 2.0);
             EXPECT_EQ(f.personTCutoff, 3.5);
             EXPECT_EQ(f.personChiSquareCutoff, 0.001);
             EXPECT_EQ(f.localizedPersonTCutoff, 2.0);
         }},
        {"a format as long as a box holds", editedDefault({{6, longest}}),
         [&](auto& f) { EXPECT_EQ(f.fortranFormat.size(), 32767); }},
        {"a format longer than a box holds", editedDefault({{6, tooLong}}), nullptr,
         "Line 6 is longer than the 32767 characters a box holds"},
        {"a data path longer than a box holds", editedDefault({{5, tooLong}}), nullptr,
         "Line 5 is longer than the 32767 characters a box holds"},
        {"a carriage return inside a path", editedDefault({{5, "/data/a\rb.dat"}}), nullptr,
         "Line 5 holds a carriage return inside it"},
        {"an empty data path and format, for Run to ask for", editedDefault({{5, ""}, {6, ""}}),
         [](auto& f) {
             EXPECT_TRUE(f.dataFileName.isEmpty());
             EXPECT_TRUE(f.fortranFormat.isEmpty());
             EXPECT_EQ(f.numItems, 2);
         }},
        {"a path in Latin-1",
         editedDefault({{5,
                         "/donn\xe9"
                         "es/\xe9t\xe9.dat"}}),
         [](auto& f) {
             EXPECT_EQ(toJobBytes(f.dataFileName),
                       "/donn\xe9"
                       "es/\xe9t\xe9.dat");
         }},
    };
    for (const auto& k : cases) {
        QString error;
        JobSettings job;
        JobControls controls;
        const bool read = readJobFile(k.file, job, controls, &error);
        if (!k.check) {
            EXPECT_FALSE(read) << k.what;
            EXPECT_EQ(error, QString::fromLatin1(k.error)) << k.what;
        } else if (read) {
            k.check(job);
        } else {
            ADD_FAILURE() << k.what << ": refused with " << error.toStdString();
        }
    }
}

}  // namespace
}  // namespace vormgui
