#include <gtest/gtest.h>

#include <filesystem>

#include "common/textio.h"
#include "job_helpers.h"

namespace vorm::test {
namespace {

// The default job as the front end writes it, with model 1 chosen in the menu.
std::vector<std::string> default_job(const std::string& model = "1") {
    return {labelled(model, model == "0" ? "ERROR: MODEL NUMBER SHOULD BE FROM 1 TO 8"
                                         : "ESTIMATE PARAMETERS OF MODEL " + model),
            labelled("N", "CONSTRAINTS ARE NOT USED"),
            labelled("N", "DO NOT CHANGE THE SIGN OF INITIAL PARAMETER ESTIMATES"),
            labelled("30", "NUMBER OF QUADRATURE POINTS"),
            "C:\\VORM\\INDATA.DAT",
            "(i4,1x,25i1)",
            labelled("2", "NUMBER OF ITEMS"),
            labelled("Y", "IS NUMBER OF CATEGORIES CONSTANT?"),
            labelled("2", "NUMBER OF RESPONSE CATEGORIES"),
            labelled("N", "DO YOU WANT TO RECODE THE DATA?"),
            labelled("Y", "IS RESPONSE CUTOFF CONSTANT?"),
            labelled("0", "RESPONSE CUTOFF"),
            labelled("N", "DISCARD ANY ITEMS"),
            labelled("N", "DISCARD ANY PEOPLE"),
            labelled("N", "SIGNS OF INITIAL LOCATION ESTIMATES NOT MANUALLY ASSIGNED"),
            labelled("100", "NUMBER OF OUTER CYCLES"),
            labelled("10", "NUMBER OF INNER CYCLES"),
            labelled("30", "NUMBER OF FISHER SCORING ITERATIONS FOR THRESHOLDS"),
            labelled("30", "NUMBER OF FISHER SCORING ITERATIONS FOR DELTAS & ALPHAS"),
            labelled("0.001", "CRITERION"),
            labelled("N", "WANT TO PLOT"),
            labelled("N", "WANT FIT STATISTICS")};
}

// A job of 2 items up to the algorithm answers; `tail` follows the criterion.
std::vector<std::string> job_with(const std::vector<std::string>& head, const std::vector<std::string>& tail) {
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), tail.begin(), tail.end());
    return lines;
}

const std::vector<std::string> kModel1Head = {"1", "N", "N", "30", "in.dat", "(i4,2i1)", "2",  "Y",  "3",  "N",
                                              "Y", "1", "N", "N",  "N",      "100",      "10", "30", "30", "0.001"};

// The whole dialogue of a model 4 job that passes every record and has one
// rejected value in most of them; the console transcript is in test data.
const std::vector<std::string> kModel4Answers = {"9",
                                                 "4",  // model, re-asked
                                                 "Y",
                                                 "N",
                                                 "0",
                                                 "N",
                                                 "Y",
                                                 "25",  // a bad count re-reads 2, 3, 4
                                                 "D:\\DATA\\M4.DAT",
                                                 "(I3,2I1)",
                                                 "2",  // data file, format, items
                                                 "N",
                                                 "1",
                                                 "3",
                                                 "4",  // categories per item
                                                 "y",  // recode
                                                 "N",
                                                 "3",
                                                 "2",
                                                 "3",  // cutoffs per item
                                                 "Y",
                                                 "2",
                                                 "1",
                                                 "2",  // discarded items
                                                 "Y",
                                                 "1",
                                                 "77",  // discarded subjects
                                                 "Y",
                                                 "+",
                                                 "x",
                                                 "-",  // signs
                                                 "4",
                                                 "6",
                                                 "2",
                                                 "3",
                                                 "4",  // cycles and iterations
                                                 "0.02",
                                                 "0",  // criterion
                                                 "Y",
                                                 "1",
                                                 "5",
                                                 "100",  // plots
                                                 "Y",
                                                 "3",
                                                 "x",
                                                 "Y",
                                                 "2",
                                                 "0.21",
                                                 "0.2",
                                                 "2.5",
                                                 "0.1",
                                                 "1.5"};  // fit statistics

void expect_model4_settings(const JobSettings& j) {
    EXPECT_EQ(j.MODEL, 4);
    EXPECT_EQ(j.ICONST, 0);
    EXPECT_EQ(j.SIGNR, -1.0);
    EXPECT_EQ(j.NQUAD, 25);
    EXPECT_EQ(j.DATFILE, "D:/DATA/M4.DAT");
    EXPECT_EQ(j.DATFMT, "(I3,2I1)");
    EXPECT_EQ(j.NITEM, 2);
    EXPECT_EQ(j.LCATC, 0);
    EXPECT_EQ(j.NCAT(1), 3);
    EXPECT_EQ(j.NCAT(2), 4);
    EXPECT_EQ(j.IRECOD, 1);
    EXPECT_EQ(j.ICUT(1), 2);
    EXPECT_EQ(j.ICUT(2), 3);
    EXPECT_EQ(j.NDELI, 2);
    EXPECT_EQ(j.IDELI(1), 1);
    EXPECT_EQ(j.IDELI(2), 2);
    EXPECT_EQ(j.NDELS, 1);
    EXPECT_EQ(j.IDELS(1), 77);
    EXPECT_EQ(j.ISGNSP, 1);
    EXPECT_EQ(j.ISIGN(1), 1);
    EXPECT_EQ(j.ISIGN(2), 0);
    EXPECT_EQ(j.MAXOUT, 6);
    EXPECT_EQ(j.MAXIN, 2);
    EXPECT_EQ(j.MAXFSU, 0);
    EXPECT_EQ(j.MAXFST, 3);
    EXPECT_EQ(j.MAXFSI, 4);
    EXPECT_EQ(j.CONVC, 0.0);
    EXPECT_EQ(j.IPLOT, -1);
    EXPECT_EQ(j.NTHGRP, 5);
    EXPECT_EQ(j.NTDGRP, 100);
    EXPECT_EQ(j.IFITAN, 1);
    EXPECT_EQ(j.NFITG, 3);
    EXPECT_EQ(j.IPRALL, 1);
    EXPECT_EQ(j.ITTCUT, 2.0);
    EXPECT_EQ(j.ITALPH, 0.2);
    EXPECT_EQ(j.PSTCUT, 2.5);
    EXPECT_EQ(j.PSALPH, 0.1);
    EXPECT_EQ(j.PSLCUT, 1.5);
}

class AskitTest : public ::testing::Test {
protected:
    void SetUp() override { fixed_clock(2026, 3, 7, 9, 5, 4); }
    void TearDown() override { set_clock({}); }
};

// ---- jobs that cannot be read -------------------------------------------

// A folder or a device would be read for ever or not at all; the line after
// the message names the file and the reason.
TEST_F(AskitTest, MissingJobFileStopsWithStatusAndEmptyReport) {
    TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"/nonexistent/folder/job.txt", "No such file or directory"},
        {dir.path().string(), "Is a directory"},
        {"/dev/null", "Is a device, not a plain file"},
    };
    for (const auto& [path, why] : cases) {
        DialogueRun r = run_dialogue(path, "");
        ASSERT_TRUE(r.stopped) << path;
        EXPECT_EQ(r.status,
                  (std::vector<std::string>{"  CANNOT OPEN THE COMMAND FILE: " + path, "  " + path + ": " + why}));
        EXPECT_NE(r.console.find("CANNOT OPEN THE COMMAND FILE"), std::string::npos);
        EXPECT_EQ(r.report, "");
    }
}

// A path or a format is not taken up to a NUL character and the rest dropped.
TEST_F(AskitTest, NulCharacterInAPathOrAFormatStopsTheJob) {
    for (std::size_t line : {4u, 5u}) {
        auto lines = kModel1Head;
        lines[line].insert(2, 1, '\0');
        DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
        ASSERT_TRUE(r.stopped) << line;
        EXPECT_EQ(r.status, (std::vector<std::string>{"  ERROR READING THE JOB: A NUL CHARACTER IN THE COMMAND FILE "
                                                      "AT LINE " +
                                                          std::to_string(line + 1),
                                                      line == 4 ? "  FOR: DATA FILE" : "  FOR: DATA FORMAT"}));
        EXPECT_EQ(r.report, "");
    }
    DialogueRun r = run_dialogue("", lf({"Y", std::string("job\0.txt", 8)}));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status, (std::vector<std::string>{"  ERROR READING THE JOB: A NUL CHARACTER IN THE CONSOLE ANSWER",
                                                  "  FOR: NAME OF THE COMMAND FILE"}));
}

TEST_F(AskitTest, DefaultJobWithoutModelStopsAtTheNextLineWhichIsNoNumber) {
    // Model 0 is re-asked, so the constraint letter on line 2 is read as the model.
    DialogueRun r = run_job_text(crlf(default_job("0")));
    ASSERT_TRUE(r.stopped);
    ASSERT_EQ(r.status.size(), 2u);
    EXPECT_EQ(r.status[0], "  ERROR READING THE JOB: A NUMBER WAS EXPECTED IN THE COMMAND FILE AT LINE 2");
    EXPECT_EQ(r.status[1], "  FOR: MODEL NUMBER");
    EXPECT_EQ(r.report, "");
}

TEST_F(AskitTest, JobEndingAfterFitStatisticsYesIsIncomplete) {
    DialogueRun r = run_job_text(crlf(job_with(kModel1Head, {"N", "Y"})));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[0], "  THE COMMAND FILE ENDED BEFORE THE JOB WAS COMPLETE.");
    EXPECT_EQ(r.status[1], "  NO ANSWER WAS FOUND FOR: NUMBER OF FIT GROUPS");
    EXPECT_EQ(r.report, "");
}

TEST_F(AskitTest, RejectedValuesThatUseUpTheFileEndLikeAShortFile) {
    // Outer cycles 3 and 4 are both rejected; nothing is left for the answer.
    std::vector<std::string> lines(kModel1Head.begin(), kModel1Head.begin() + 15);
    lines.push_back("3");
    lines.push_back("4");
    DialogueRun r = run_job_text(lf(lines));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[1], "  NO ANSWER WAS FOUND FOR: MAXIMUM OUTER CYCLES");
}

TEST_F(AskitTest, OversizedWholeNumberIsUnreadable) {
    auto lines = kModel1Head;
    lines[15] = "99999999999";
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[0], "  ERROR READING THE JOB: A NUMBER WAS EXPECTED IN THE COMMAND FILE AT LINE 16");
}

// ---- capacities of the fixed tables ---------------------------------------

TEST_F(AskitTest, MoreThanHundredItemsAreRejectedAtTheItemCount) {
    auto lines = kModel1Head;
    lines[6] = "101";
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[0], "  NO MORE THAN 100 ITEMS CAN BE USED IN A SINGLE CALIBRATION.");
    EXPECT_EQ(r.status[1], "  THE JOB ASKS FOR 101 ITEMS.  JOB IS ABORTING.");
    EXPECT_NE(r.console.find("NO MORE THAN 100 ITEMS"), std::string::npos);
    EXPECT_EQ(r.report, "");

    lines[6] = "100";
    DialogueRun ok = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_FALSE(ok.stopped);
    EXPECT_EQ(ok.job->NCAT(100), 3);
    EXPECT_EQ(ok.job->ICUT(100), 1);
}

TEST_F(AskitTest, ItemCountBelowOneIsRejectedAtTheItemCount) {
    for (const char* n : {"0", "-3"}) {
        auto lines = kModel1Head;
        lines[6] = n;
        DialogueRun file = run_job_text(lf(job_with(lines, {"N", "N"})));
        lines.insert(lines.begin(), "N");
        DialogueRun console = run_dialogue("", lf(job_with(lines, {"N", "N"})));
        for (const DialogueRun* r : {&file, &console}) {
            ASSERT_TRUE(r->stopped) << n;
            EXPECT_EQ(r->status,
                      (std::vector<std::string>{"  AT LEAST 1 ITEM MUST BE USED IN A CALIBRATION.",
                                                "  THE JOB ASKS FOR " + std::string(n) + " ITEMS.  JOB IS ABORTING."}));
            EXPECT_NE(r->console.find("AT LEAST 1 ITEM MUST BE USED"), std::string::npos);
            EXPECT_EQ(r->report, "");
        }
    }
}

TEST_F(AskitTest, LineTooLongToHoldStopsTheJob) {
    auto lines = kModel1Head;
    lines[3] = std::string(LineReader::kMaxLineLength + 1, '3');
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status,
              (std::vector<std::string>{"  ERROR READING THE JOB: A LINE IS TOO LONG IN THE COMMAND FILE AT LINE 4",
                                        "  FOR: NUMBER OF QUADRATURE POINTS"}));
}

TEST_F(AskitTest, DiscardCountsAboveTheTablesAreRejected) {
    auto items = kModel1Head;
    items[12] = "Y";
    items.insert(items.begin() + 13, "101");
    DialogueRun r = run_job_text(lf(job_with(items, {"N", "N"})));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[0], "  NO MORE THAN 100 ITEMS CAN BE DISCARDED.");

    auto subjects = kModel1Head;
    subjects[13] = "Y";
    subjects.insert(subjects.begin() + 14, "2001");
    r = run_job_text(lf(job_with(subjects, {"N", "N"})));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[0], "  NO MORE THAN 2000 SUBJECTS CAN BE DISCARDED.");
    EXPECT_EQ(r.status[1], "  THE JOB ASKS TO DISCARD 2001 SUBJECTS.  JOB IS ABORTING.");
}

TEST_F(AskitTest, FitGroupCountOutsideTheGroupTablesIsRejected) {
    for (const char* groups : {"0", "21"}) {
        DialogueRun r = run_job_text(lf(job_with(kModel1Head, {"N", "Y", groups, "N", "2", "0.05", "2", "0.05", "2"})));
        ASSERT_TRUE(r.stopped) << groups;
        EXPECT_EQ(r.status[0], "  THE NUMBER OF FIT GROUPS MUST BE FROM 1 TO 20.");
    }
    DialogueRun ok = run_job_text(lf(job_with(kModel1Head, {"N", "Y", "20", "N", "2", "0.05", "2", "0.05", "2"})));
    ASSERT_FALSE(ok.stopped);
    EXPECT_EQ(ok.job->NFITG, 20);
}

// ---- the job file as the front end writes it ------------------------------

TEST_F(AskitTest, FrontEndDefaultJobIsReadWholeWithItsListing) {
    auto lines = default_job();
    lines.push_back("anything after the last answer is not read");
    DialogueRun r = run_job_text(crlf(lines));
    ASSERT_FALSE(r.stopped);
    const JobSettings& j = *r.job;
    EXPECT_EQ(j.MODEL, 1);
    EXPECT_EQ(j.ICONST, 0);
    EXPECT_EQ(j.SIGNR, 1.0);
    EXPECT_EQ(j.NQUAD, 30);
    EXPECT_EQ(j.DATFILE, "C:/VORM/INDATA.DAT");
    EXPECT_EQ(j.DATFMT, "(i4,1x,25i1)");
    EXPECT_EQ(j.NITEM, 2);
    EXPECT_EQ(j.LCATC, -1);
    EXPECT_EQ(j.NCAT(1), 2);
    EXPECT_EQ(j.NCAT(2), 2);
    EXPECT_EQ(j.IRECOD, 0);
    EXPECT_EQ(j.ICUT(2), 0);
    EXPECT_EQ(j.NDELI, 0);
    EXPECT_EQ(j.NDELS, 0);
    EXPECT_EQ(j.ISGNSP, 0);
    EXPECT_EQ(j.MAXOUT, 100);
    EXPECT_EQ(j.MAXIN, 10);
    EXPECT_EQ(j.MAXFSU, 30);  // the front end's one scoring line is the unit one under model 1
    EXPECT_EQ(j.MAXFST, 0);
    EXPECT_EQ(j.MAXFSI, 30);
    EXPECT_EQ(j.CONVC, 0.001);
    EXPECT_EQ(j.IPLOT, 0);
    EXPECT_EQ(j.IFITAN, 0);
    EXPECT_EQ(j.NFITG, 0);
    EXPECT_EQ(j.IYEAR, 2026);
    EXPECT_EQ(j.IMONTH, 3);
    EXPECT_EQ(j.IDAY, 7);
    EXPECT_EQ(j.IHOUR, 9);
    EXPECT_EQ(j.IMIN, 5);
    EXPECT_EQ(j.ISEC, 4);

    auto expected = expected_lines("listing_default_model1.txt");
    for (auto& l : expected) {
        std::size_t at = l.find("@CMDFILE@");
        if (at != std::string::npos) {
            std::string path = j.CMDFILE;
            path.resize(std::max<std::size_t>(path.size(), 256), ' ');
            l = l.substr(0, at) + path;
        }
    }
    expect_same_lines(split_lines(r.report), expected);
}

// ---- re-ask rules ---------------------------------------------------------

TEST_F(AskitTest, ZeroQuadraturePointsRereadsConstraintSignAndCount) {
    auto lines = kModel1Head;
    lines.erase(lines.begin() + 1, lines.begin() + 4);
    lines.insert(lines.begin() + 1, {"Y", "N", "0", "N", "Y", "51", "y", " Y", "12"});
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->NQUAD, 12);
    EXPECT_EQ(r.job->SIGNR, 1.0);  // " Y" is no
    EXPECT_EQ(r.job->DATFILE, "in.dat");
    std::size_t asked = 0;
    for (std::size_t p = 0; (p = r.console.find("DO YOU WANT TO CONSTRAIN", p)) != std::string::npos; ++p) ++asked;
    EXPECT_EQ(asked, 3u);
}

TEST_F(AskitTest, CutoffEqualToCategoryCountIsAskedAgain) {
    // Constant: 3 categories, cutoff 3 rejected, 2 taken for every item.
    auto lines = kModel1Head;
    lines[11] = "3";
    lines.insert(lines.begin() + 12, "2");
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->ICUT(1), 2);
    EXPECT_EQ(r.job->ICUT(2), 2);

    // Per item, model 2 with 3 and 4 categories: 3 rejected for item 1, 3 taken for item 2.
    std::vector<std::string> m2 = {"2", "N",   "N",  "30", "in.dat", "(i4,2i1)", "2", "N", "3",
                                   "4", "N",   "N",  "3",  "-1",     "2",        "3", "N", "N",
                                   "N", "100", "10", "30", "30",     "0.001",    "N", "N"};
    r = run_job_text(lf(m2));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->ICUT(1), 2);
    EXPECT_EQ(r.job->ICUT(2), 3);
    std::size_t notes = 0;
    for (std::size_t p = 0; (p = r.console.find("MUST BE AT LEAST 0 AND", p)) != std::string::npos; ++p) ++notes;
    EXPECT_EQ(notes, 2u);
}

TEST_F(AskitTest, CriterionZeroAndNegativeAreTakenAboveAHundredthIsAskedAgain) {
    for (const char* c : {"0", "-0.5", "0.01"}) {
        auto lines = kModel1Head;
        lines[19] = c;
        DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
        ASSERT_FALSE(r.stopped) << c;
        EXPECT_EQ(r.job->CONVC, std::stod(c));
    }
    auto lines = kModel1Head;
    lines[19] = "1e-400";  // too small for a double, but a number
    DialogueRun tiny = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_FALSE(tiny.stopped);
    EXPECT_EQ(tiny.job->CONVC, 0.0);

    lines[19] = "0.0101";
    DialogueRun r = run_job_text(lf(job_with(lines, {"0.005", "N", "N"})));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->CONVC, 0.005);
}

TEST_F(AskitTest, AlphaLevelPointTwoIsTakenPointTwoOneIsAskedAgain) {
    DialogueRun r = run_job_text(
        lf(job_with(kModel1Head, {"N", "Y", "4", "N", "2.0", "0.21", "0.2", "3.0", "0.21", "0.01", "-2"})));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->ITTCUT, 2.0);
    EXPECT_EQ(r.job->ITALPH, 0.2);
    EXPECT_EQ(r.job->PSTCUT, 3.0);
    EXPECT_EQ(r.job->PSALPH, 0.01);
    EXPECT_EQ(r.job->PSLCUT, -2.0);
}

TEST_F(AskitTest, SignLinesOtherThanPlusOrMinusAreSkippedForTheSameItem) {
    auto lines = kModel1Head;
    lines[14] = "Y";
    lines.insert(lines.begin() + 15, {"x", "-", "", "  +"});
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->ISGNSP, 1);
    EXPECT_EQ(r.job->ISIGN(1), 0);
    EXPECT_EQ(r.job->ISIGN(2), 1);
    EXPECT_EQ(r.job->MAXOUT, 100);
}

TEST_F(AskitTest, LetterAnswersTakeOnlyAFirstYAsYes) {
    auto lines = kModel1Head;
    lines[7] = " Y";  // categories constant: no, so model 1 aborts
    DialogueRun r = run_job_text(lf(job_with(lines, {"N", "N"})));
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.job->NCAT(1), -1);

    lines = kModel1Head;
    lines[9] = "yes";
    lines[1] = "Yes";
    DialogueRun y = run_job_text(lf(job_with(lines, {"x", "N"})));  // plots "x": no
    ASSERT_FALSE(y.stopped);
    EXPECT_EQ(y.job->IRECOD, 1);
    EXPECT_EQ(y.job->IPLOT, 0);
    EXPECT_EQ(y.job->ICONST, 0);  // model 1 cannot take the constraint: the listing drops it
}

TEST_F(AskitTest, PrintAllPersonsAnswerXIsAskedAgain) {
    DialogueRun r =
        run_job_text(lf(job_with(kModel1Head, {"N", "Y", "4", "x", "", "n", "2", "0.05", "2", "0.05", "2"})));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->IPRALL, 0);
    EXPECT_EQ(r.job->ITTCUT, 2.0);
    std::size_t asked = 0;
    for (std::size_t p = 0; (p = r.console.find("FIT INDICES FOR ALL PERSONS", p)) != std::string::npos; ++p) ++asked;
    EXPECT_EQ(asked, 3u);
}

// ---- the constant-categories abort ----------------------------------------

TEST_F(AskitTest, OddModelWithVaryingCategoriesAbortsBeforeReadingThem) {
    std::vector<std::string> m3 = {"3", "N", "N", "30", "in.dat", "(i4,2i1)", "2", "N", "not a number", "N"};
    DialogueRun r = run_job_text(lf(m3));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.job->NCAT(1), -1);
    EXPECT_EQ(r.report,
              " NUMBER OF RESPONSE CATEGOTIES MUST BE CONSTANT FOR MODEL=3\n"
              "  ANALYSIS WILL ABORT\n");
    std::string tail =
        " \n \n  ************************************\n \n"
        " NUMBER OF RESPONSE CATEGORIES MUST BE CONSTANT FOR MODEL=3\n"
        "  ANALYSIS WILL ABORT\n";
    std::size_t at = r.console.find("CONSTANT ACROSS ITEMS? \n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(r.console.substr(at + 24, tail.size()), tail);
    ASSERT_EQ(r.status.size(), 2u);
    EXPECT_EQ(r.status[0], " NUMBER OF RESPONSE CATEGORIES MUST BE CONSTANT FOR MODEL=3");
    EXPECT_EQ(r.status[1], "  ANALYSIS WILL ABORT");
}

// ---- console dialogue -----------------------------------------------------

TEST_F(AskitTest, ConsoleQuestionsAreShownExactlyInBothModes) {
    std::vector<std::string> input = {"N"};
    input.insert(input.end(), kModel4Answers.begin(), kModel4Answers.end());
    DialogueRun con = run_dialogue("", lf(input));
    ASSERT_FALSE(con.stopped);
    expect_model4_settings(*con.job);
    auto expected = expected_lines("askit_console_model4.txt");
    expect_same_lines(split_lines(con.console), expected);

    DialogueRun file = run_job_text(crlf(kModel4Answers));
    ASSERT_FALSE(file.stopped);
    expect_model4_settings(*file.job);
    expected.erase(expected.begin(), expected.begin() + 2);  // the job-file question
    expect_same_lines(split_lines(file.console), expected);

    // The same report head, but for the command-file line and its two blanks.
    auto con_report = split_lines(con.report);
    auto file_report = split_lines(file.report);
    ASSERT_EQ(file_report.size(), con_report.size() + 3);
    EXPECT_EQ(file_report[3].substr(0, 41), "  THE COMMAND FILE USED FOR THIS JOB IS: ");
    file_report.erase(file_report.begin() + 3, file_report.begin() + 6);
    EXPECT_EQ(file_report, con_report);
}

TEST_F(AskitTest, ConsoleCanNameTheJobFileAfterAnUnclearAnswer) {
    TempDir dir;
    write_file(dir.file("my job.txt"), crlf(default_job("2")));
    DialogueRun r = run_dialogue("", lf({"x", "y", dir.file("my job.txt") + "   "}));
    ASSERT_FALSE(r.stopped);
    EXPECT_EQ(r.job->MODEL, 2);
    EXPECT_EQ(r.job->CMDFILE, dir.file("my job.txt"));
    std::size_t asked = 0;
    for (std::size_t p = 0; (p = r.console.find("COMMANDS FROM A", p)) != std::string::npos; ++p) ++asked;
    EXPECT_EQ(asked, 2u);
    EXPECT_NE(r.console.find("  WHAT IS THE NAME OF THE COMMAND FILE YOU WANT TO USE? \n"), std::string::npos);
    EXPECT_NE(r.report.find("  THE COMMAND FILE USED FOR THIS JOB IS: " + dir.file("my job.txt") + "   "),
              std::string::npos);
}

TEST_F(AskitTest, ConsoleInputEndingEarlyStopsTheRun) {
    DialogueRun r = run_dialogue("", lf({"n", "1", "Y"}));
    ASSERT_TRUE(r.stopped);
    EXPECT_EQ(r.status[0], "  THE CONSOLE INPUT ENDED BEFORE THE JOB WAS COMPLETE.");
    EXPECT_EQ(r.status[1], "  NO ANSWER WAS FOUND FOR: SIGN REVERSAL");
    EXPECT_EQ(r.report, "");
}

// ---- the built program ----------------------------------------------------

// The report head up to the end of the parameter listing; what follows depends
// on the data, which these jobs do not need to have.
std::vector<std::string> report_head(const std::string& path) {
    auto lines = split_lines(read_file(path));
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k] == "  ********** END OF PARAMETER LISTING **********") {
            lines.resize(k + 1);
            return lines;
        }
    ADD_FAILURE() << "no end of the parameter listing in " << path;
    return lines;
}

TEST(AskitEngine, ConsoleRunAndJobFileRunGiveTheSameReportHead) {
    TempDir cwd;
    std::filesystem::create_directory(cwd.path() / "TEMPFILE");
    std::string input = lf({"", "", ""});  // the three title pages
    input += lf({"N"}) + lf(kModel4Answers);
    std::string console;
    int console_rc = run_engine({}, cwd.path().string(), input, &console);
    std::string console_status = read_file(cwd.file("TEMPFILE/status"));
    auto con_report = report_head(cwd.file("TEMPFILE/FT06F001"));
    EXPECT_NE(console.find("  WHICH QAV DO YOU WANT TO ESTIMATE?"), std::string::npos);

    TempDir work;
    write_file(cwd.file("job.txt"), crlf(kModel4Answers));
    EXPECT_EQ(run_engine({"job.txt", work.folder()}, cwd.path().string(), "", &console), console_rc);
    EXPECT_EQ(read_file(work.file("status")), console_status);
    auto file_report = report_head(work.file("FT06F001"));
    ASSERT_GT(file_report.size(), 6u);
    EXPECT_EQ(file_report[3], "  THE COMMAND FILE USED FOR THIS JOB IS: job.txt" + std::string(256 - 7, ' '));
    file_report.erase(file_report.begin() + 3, file_report.begin() + 6);
    ASSERT_EQ(file_report.size(), con_report.size());
    // The run stamps come from two different runs; everything after them matches.
    for (std::size_t k = 1; k < con_report.size(); ++k) EXPECT_EQ(file_report[k], con_report[k]) << "line " << k + 1;
}

TEST(AskitEngine, ListingShowsTheJobFilePathAsGiven) {
    TempDir cwd;
    std::filesystem::create_directory(cwd.path() / "jobs");
    write_file(cwd.file("jobs/job.txt"), crlf(kModel4Answers));
    TempDir work;
    run_engine({"jobs\\job.txt", work.folder()}, cwd.path().string(), "");
    auto report = report_head(work.file("FT06F001"));
    ASSERT_GT(report.size(), 3u);
    EXPECT_EQ(report[3], "  THE COMMAND FILE USED FOR THIS JOB IS: jobs\\job.txt" + std::string(256 - 12, ' '));
}

TEST(AskitEngine, ConstantCategoriesAbortIsAFailedRun) {
    TempDir work;
    write_file(work.file("job.txt"), lf({"7", "N", "N", "30", "in.dat", "(i4,2i1)", "2", "N"}));
    std::string console;
    EXPECT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), "", &console), 1);
    EXPECT_EQ(read_file(work.file("status")),
              " NUMBER OF RESPONSE CATEGORIES MUST BE CONSTANT FOR MODEL=7\n  ANALYSIS WILL ABORT\n");
    EXPECT_EQ(read_file(work.file("FT06F001")),
              " NUMBER OF RESPONSE CATEGOTIES MUST BE CONSTANT FOR MODEL=7\n  ANALYSIS WILL ABORT\n");
}

TEST(AskitEngine, UnreadableJobFileLeavesAStatusThatSaysSo) {
    TempDir work;
    std::string console;
    EXPECT_EQ(run_engine({work.file("absent.txt"), work.folder()}, work.path().string(), "", &console), 1);
    EXPECT_EQ(read_file(work.file("status")), "  CANNOT OPEN THE COMMAND FILE: " + work.file("absent.txt") + "\n  " +
                                                  work.file("absent.txt") + ": No such file or directory\n");
    EXPECT_NE(console.find("CANNOT OPEN THE COMMAND FILE"), std::string::npos);
    EXPECT_EQ(read_file(work.file("FT06F001")), "");
}

}  // namespace
}  // namespace vorm::test
