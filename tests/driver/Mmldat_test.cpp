// Data input, clean-up and the scratch read-back, run in-process on small data
// files.  Expected report and console text is written by hand from the layouts.
#include "driver/Mmldat.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/io.h"
#include "common/stop.h"
#include "common/textio.h"
#include "driver/Stages.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::TempDir;

const std::string S48 = "  " + std::string(48, '*');
const std::string S50 = " " + std::string(50, '*');
const std::string CLEANUP_STARS = " " + std::string(48, '*');

class DataInput : public ::testing::Test {
protected:
    std::ostringstream con;
    std::istringstream cin;
    Io io{con, cin};
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<RawTable> records = std::make_unique<RawTable>();
    TempDir dir;

    void SetUp() override { io.units.open_in_memory(); }

    void data(const std::string& text, const std::string& format) {
        test::write_file(dir.file("data.txt"), text);
        job->DATFILE = dir.file("data.txt");
        job->DATFMT = format;
    }
    void items(int n, int ncat, int icut = 0) {
        job->NITEM = n;
        for (int j = 1; j <= n; ++j) {
            job->NCAT(j) = ncat;
            job->ICUT(j) = icut;
        }
    }
    // Runs data input and the read-back; the status lines of a stop, or none.
    std::vector<std::string> run() {
        try {
            MMLDAT(io, *job, *records);
            READIT(io, *job, *st);
        } catch (const EngineStop& s) {
            return s.status_lines();
        }
        return {};
    }
    std::string report() const { return io.units.contents(Unit::FT06); }
    // The part of the report after the echo and the two blank lines that end it.
    std::string after_echo(int nitem, int echoed) const {
        auto lines = test::split_lines(report());
        std::size_t skip = echoed == 0 ? 2 : 5 + static_cast<std::size_t>(echoed) * (3 + nitem) + 2;
        std::string out;
        for (std::size_t k = skip; k < lines.size(); ++k) out += lines[k] + "\n";
        return out;
    }
};

std::string abort_block(const std::vector<std::string>& message) {
    std::string s = S48 + "\n" + S48 + "\n \n";
    for (const auto& m : message) s += m + "\n";
    s += " \n";
    for (int k = 0; k < 3; ++k) s += "                   ABORT                   \n";
    return s + S48 + "\n" + S48 + "\n";
}

// ---- aborts ------------------------------------------------------------

TEST_F(DataInput, MissingDataFileGivesOpenFailureBlockAndStatus) {
    items(2, 2);
    job->DATFILE = dir.file("no-such-file.dat");
    job->DATFMT = "(i4,2i1)";
    auto status = run();
    // The line after the message names the file and the system's reason.
    const std::string why = "  " + dir.file("no-such-file.dat") + ": No such file or directory";
    EXPECT_EQ(status, (std::vector<std::string>{"  CANNOT OPEN DATA FILE. CHECK ACCURACY OF ",
                                                "  SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       ", why}));
    EXPECT_EQ(report(),
              "  ************************************************\n"
              "  ************************************************\n"
              " \n"
              "  CANNOT OPEN DATA FILE. CHECK ACCURACY OF \n"
              "  SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       \n" +
                  why +
                  "\n"
                  " \n"
                  "                   ABORT                   \n"
                  "                   ABORT                   \n"
                  "                   ABORT                   \n"
                  "  ************************************************\n"
                  "  ************************************************\n");

    // Only a plain file is a data file: a folder or a device is not read, and
    // a path is not taken up to a NUL character.
    test::write_file(dir.file("data"), "   1 11\n");
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.path().string(), dir.path().string() + ": Is a directory"},
        {dir.file("data") + std::string(1, '\0') + "x", dir.file("data") + "\\0x: The path holds a NUL character"}};
    if (std::filesystem::exists("/dev/zero"))
        cases.push_back({"/dev/zero", "/dev/zero: Is a device, not a plain file"});
    for (const auto& [path, why] : cases) {
        job->DATFILE = path;
        status = run();
        ASSERT_EQ(status.size(), 3u) << path;
        EXPECT_EQ(status[2], "  " + why);
    }
}

TEST_F(DataInput, FieldThatIsNotANumberGivesReadErrorAfterTheEchoOfGoodRecords) {
    items(2, 2);
    data("   1 11\n   2 1x\n", "(i4,1x,2i1)");
    const std::vector<std::string> msg = {
        "  ERROR ATTEMPTING TO READ YOUR DATA SET.  ", "  CHECK YOUR INPUT FORMAT AGAINST THE DATA ",
        "  TO SEE IF IT MATCHES CORRECTLY           ", "  THE ERROR IS IN RECORD 2, COLUMN 7."};
    EXPECT_EQ(run(), msg);
    std::string echo1 = S50 + "\n \n  FIRST TWO CASES FROM DATA FILE AS READ BY PROGRAM:\n \n" + S50 +
                        "\n \n \n  SUBJECT ID:1\n  ITEM #1:1\n  ITEM #2:1\n";
    EXPECT_EQ(report(), echo1 + abort_block(msg));

    // A record over two lines names the line too.
    data("   1\n11\n   2\n1x\n", "(i4,/,2i1)");
    EXPECT_EQ(run().back(), "  THE ERROR IS IN RECORD 2 (LINE 4), COLUMN 2.");
}

TEST_F(DataInput, UnusableFormatsGiveReadError) {
    items(2, 2);
    // The last two reach past the integer range of a column and nest deeper
    // than any stack.  The line after the message says what is wrong.
    const std::string only_i = "  THE FORMAT CANNOT BE USED: ONLY I, X, T, TL, TR AND / CAN READ A DATA RECORD.";
    const std::pair<std::string, std::string> cases[] = {
        {"i4,2i1", "  THE FORMAT CANNOT BE USED: THE FORMAT MUST BEGIN WITH '('."},
        {"(i4,2f1.0)", only_i},
        {"(i4,2i1", "  THE FORMAT CANNOT BE USED: MISSING ')'."},
        {"(1x)", "  THE ERROR IS IN RECORD 1: THE FORMAT READS NO VALUE FROM LINE 1."},
        {"(a4,2i1)", only_i},
        {"(I4,2148(1000000X),2I1)", "  THE FORMAT CANNOT BE USED: A COLUMN POSITION BEYOND THE LONGEST RECORD."},
        {std::string(30000, '(') + "I4,2I1" + std::string(30000, ')'),
         "  THE FORMAT CANNOT BE USED: GROUPS NESTED TOO DEEPLY."},
    };
    for (const auto& [f, why] : cases) {
        data("   1 11\n", f);
        auto status = run();
        ASSERT_EQ(status.size(), 4u) << f.substr(0, 40);
        EXPECT_EQ(status[0], "  ERROR ATTEMPTING TO READ YOUR DATA SET.  ") << f.substr(0, 40);
        EXPECT_EQ(status[3], why) << f.substr(0, 40);
    }
}

// A line without end and a file of endless records cannot be held.
TEST_F(DataInput, DataThatNeverEndsGivesReadError) {
    items(2, 2);
    std::vector<std::pair<std::string, std::string>> cases;
    cases.push_back({dir.file("long.dat"), "  THE ERROR IS IN RECORD 2: LINE 2 IS LONGER THAN 1048576 CHARACTERS."});
    test::write_file(cases.back().first, "  11\n  " + std::string(LineReader::kMaxLineLength, '1') + "\n");
    cases.push_back({dir.file("endless.dat"), "  THE DATA FILE HOLDS MORE THAN 100000 RECORDS."});
    test::write_file(cases.back().first, std::string(kMaxDataRecords + 1, '\n'));
    for (const auto& [path, why] : cases) {
        job->DATFILE = path;
        job->DATFMT = "(i2,2i1)";
        auto status = run();
        ASSERT_EQ(status.size(), 4u) << path;
        EXPECT_EQ(status[0], "  ERROR ATTEMPTING TO READ YOUR DATA SET.  ") << path;
        EXPECT_EQ(status[3], why) << path;
    }
}

TEST_F(DataInput, ResponseBeyondTheIntegerRangeGivesReadError) {
    items(1, 2);
    data("1 99999999999\n", "(i1,1x,i11)");
    auto status = run();
    ASSERT_EQ(status.size(), 4u);
    EXPECT_EQ(status[2], "  TO SEE IF IT MATCHES CORRECTLY           ");
    EXPECT_EQ(status[3], "  THE ERROR IS IN RECORD 1, COLUMN 3.");
}

TEST_F(DataInput, RecodingAZeroOrReadingMinusOneAborts) {
    const std::vector<std::string> msg = {"  RECODING HAS LED TO AN INVALID (NEGATIVE)",
                                          "  RESPONSE CODE.  JOB IS ABORTING.         "};
    items(2, 3);
    job->IRECOD = 1;
    data("1 12\n2 20\n", "(i1,1x,2i1)");
    EXPECT_EQ(run(), msg);
    EXPECT_NE(report().find(abort_block(msg)), std::string::npos);

    job->IRECOD = 0;
    data("1 1-1\n", "(i1,1x,i1,i2)");
    EXPECT_EQ(run(), msg);
}

TEST_F(DataInput, MinusNineIsAMissingResponseWithOrWithoutRecoding) {
    for (int irecod : {0, 1}) {
        SetUp();
        items(2, 2);
        job->IRECOD = irecod;
        // After recoding the responses are 0/1 either way.
        std::string d = irecod == 1 ? "1 2-9\n2 12\n3 21\n" : "1 1-9\n2 01\n3 10\n";
        data(d, "(i1,1x,i1,i2)");
        EXPECT_TRUE(run().empty()) << irecod;
        EXPECT_EQ(job->NSUBJ, 3);
        EXPECT_EQ(st->RESP(1, 1), 1);
        EXPECT_EQ(st->RESP(1, 2), -9);
        EXPECT_EQ(st->RESP(2, 2), 1);
    }
}

TEST_F(DataInput, ResponseAtTheItemsCategoryCountAbortsNamingRespondentAndItem) {
    items(3, 2);
    job->NCAT(3) = 3;
    data("11 012\n12 102\n13 120\n", "(i2,1x,3i1)");
    auto status = run();
    const std::vector<std::string> msg = {"  A RESPONSE CODE IS AT OR ABOVE THE NUMBER OF ",
                                          "  RESPONSE CATEGORIES OF ITS ITEM.  JOB IS ABORTING.",
                                          "  SUBJECT ID: 13  ITEM #2  RESPONSE: 2  CATEGORIES: 2"};
    EXPECT_EQ(status, msg);
    EXPECT_NE(report().find(abort_block(msg)), std::string::npos);
}

TEST_F(DataInput, OutOfRangeResponseOfADiscardedItemIsNotAnError) {
    items(3, 2);
    job->NDELI = 1;
    job->IDELI(1) = 2;
    data("11 170\n12 091\n13 171\n", "(i2,1x,3i1)");
    EXPECT_TRUE(run().empty());
    EXPECT_EQ(job->NITEM, 2);
    EXPECT_EQ(st->ITEMID(1), 1);
    EXPECT_EQ(st->ITEMID(2), 3);
}

TEST_F(DataInput, MoreThan2000RecordsStopWithTheRespondentLimitWithoutOverrun) {
    items(2, 2);
    std::string d;
    for (int k = 1; k <= 2000; ++k) d += (k % 2 ? "  10\n" : "  01\n");
    data(d, "(i2,2i1)");
    EXPECT_TRUE(run().empty());
    EXPECT_EQ(job->NSUBJ, 2000);

    SetUp();
    items(2, 2);
    data(d + "  10\n", "(i2,2i1)");
    auto status = run();
    EXPECT_EQ(status, (std::vector<std::string>{"  NO MORE THAN 2000 RETAINED RESPONDENTS CAN   ",
                                                "  CAN BE USED IN A SINGLE CALIBRATION          "}));
    EXPECT_NE(report().find(abort_block({"  NO MORE THAN 2000 RETAINED RESPONDENTS CAN   ",
                                         "  CAN BE USED IN A SINGLE CALIBRATION.         "})),
              std::string::npos);
    EXPECT_EQ(job->NSUBJ, 2001);
}

// Records past the 2000th are held; only the count retained after the
// clean-up decides.  A retained record held past the table moves up into it.
TEST_F(DataInput, RecordsPastTheTableAreHeldUntilTheCleanUpDecides) {
    std::string d;
    for (int k = 1; k <= 2000; ++k) d += (k % 2 ? "  10\n" : "  01\n");
    struct Case {
        std::string text;
        int discarded_id;  // 0: none
        std::int64_t last_id;
        int last_response1;
    };
    const Case cases[] = {
        {d + "\n", 0, 0, 0},                          // a trailing empty line
        {"\n\n" + d.substr(5) + "9910\n", 0, 99, 1},  // blank lines first
        {d + "7710\n", 77, 0, 0},                     // one record discarded by the user
    };
    for (const auto& c : cases) {
        SetUp();
        items(2, 2);
        job->NDELS = c.discarded_id ? 1 : 0;
        job->IDELS(1) = c.discarded_id;
        data(c.text, "(i2,2i1)");
        ASSERT_TRUE(run().empty()) << c.last_id;
        EXPECT_EQ(job->NSUBJ, 2000);
        EXPECT_EQ(st->PERSID(2000), c.last_id);
        EXPECT_EQ(st->RESP(2000, 1), c.last_response1);
        EXPECT_EQ(st->RESP(2000, 2), 1 - c.last_response1);
    }
}

TEST_F(DataInput, MoreThan100ItemsStopWithTheItemLimit) {
    items(100, 2);
    job->NITEM = 101;
    data("1\n", "(i1,101i1)");
    auto status = run();
    EXPECT_EQ(status, (std::vector<std::string>{"  NO MORE THAN 100 RETAINED ITEMS CAN      ",
                                                "  BE USED IN A SINGLE CALIBRATION          "}));
    EXPECT_EQ(report(), abort_block({"  NO MORE THAN 100 RETAINED ITEMS CAN      ",
                                     "  BE USED IN A SINGLE CALIBRATION.         "}));
}

// ---- echo --------------------------------------------------------------

TEST_F(DataInput, EchoesTheFirstTwoRecordsAsRead) {
    items(2, 2);
    job->IRECOD = 1;
    data("  71 21\n  72 12\n  73 22\n  74 11\n", "(i4,1x,2i1)");
    ASSERT_TRUE(run().empty());
    std::string expected = S50 + "\n \n  FIRST TWO CASES FROM DATA FILE AS READ BY PROGRAM:\n \n" + S50 +
                           "\n \n \n  SUBJECT ID:71\n  ITEM #1:2\n  ITEM #2:1\n"
                           " \n \n  SUBJECT ID:72\n  ITEM #1:1\n  ITEM #2:2\n \n \n";
    EXPECT_EQ(report().substr(0, expected.size()), expected);
}

TEST_F(DataInput, OneRecordGivesOneEcho) {
    items(1, 2);
    data("5 1\n", "(i1,1x,i1)");
    run();  // the single item is invariant; only the echo matters here
    std::string expected = S50 + "\n \n  FIRST TWO CASES FROM DATA FILE AS READ BY PROGRAM:\n \n" + S50 +
                           "\n \n \n  SUBJECT ID:5\n  ITEM #1:1\n \n \n ITEM #  1";
    EXPECT_EQ(report().substr(0, expected.size()), expected);
}

// ---- clean-up ----------------------------------------------------------

// Respondent 1 goes in pass 1; that leaves item 1 answered 1 by everyone, so it
// goes in pass 2; without item 1 respondent 2 has nothing left and goes in pass 3.
TEST_F(DataInput, RemovalsChainAcrossPasses) {
    items(3, 2);
    data(" 1000\n 2100\n 3110\n 4101\n 5111\n", "(i2,3i1)");
    ASSERT_TRUE(run().empty());
    const std::string cleanup =
        " \n"
        " SUBJECT #       1 DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
        " \n" +
        CLEANUP_STARS +
        "\n"
        "     1 SUBJECTS WERE DISCARDED ON DATA CLEAN-UP\n"
        " PASS  1 BECAUSE OF INVARIANT RESPONSE PATTERNS\n" +
        CLEANUP_STARS +
        "\n"
        " ITEM #  1 IS DISCARDED DUE TO COMPLETE AGREEMENT\n" +
        CLEANUP_STARS +
        "\n"
        "    1 ITEMS WERE DISCARDED ON DATA CLEAN-UP PASS 2 DUE TO TOTAL LACK OF VARIATION IN SUBJECTS' "
        "RESPONSES\n" +
        CLEANUP_STARS +
        "\n"
        " \n"
        " SUBJECT #       2 DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
        " \n" +
        CLEANUP_STARS +
        "\n"
        "     1 SUBJECTS WERE DISCARDED ON DATA CLEAN-UP\n"
        " PASS  3 BECAUSE OF INVARIANT RESPONSE PATTERNS\n" +
        CLEANUP_STARS + "\n";
    const std::string readback = " \n PROCESSED RESPONSES FROM    3 SUBJECTS TO   2 ITEMS HAVE BEEN READ.\n";
    EXPECT_EQ(after_echo(3, 2), cleanup + readback);

    // The console gets the same lines without the blank lines around each respondent's.
    std::string console;
    for (const auto& l : test::split_lines(cleanup))
        if (l != " ") console += l + "\n";
    console += readback;
    EXPECT_EQ(con.str(), console);

    EXPECT_EQ(job->NSUBJ, 3);
    EXPECT_EQ(job->NITEM, 2);
    EXPECT_EQ(st->ITEMID(1), 2);
    EXPECT_EQ(st->ITEMID(2), 3);
    const int expect[3][3] = {{3, 1, 0}, {4, 0, 1}, {5, 1, 1}};
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(st->PERSID(k), expect[k - 1][0]);
        EXPECT_EQ(st->RESP(k, 1), expect[k - 1][1]);
        EXPECT_EQ(st->RESP(k, 2), expect[k - 1][2]);
    }
}

TEST_F(DataInput, CompleteAgreementDisagreementAndAnUnansweredItem) {
    // Item 1 answered 0 by all, item 2 in its top category by all, item 3 by
    // nobody; item 4 varies.
    items(4, 3);
    data("1 02-91\n2 02-92\n3 02-90\n", "(i1,1x,2i1,i2,i1)");
    ASSERT_TRUE(run().empty());
    EXPECT_EQ(after_echo(4, 2),
              " ITEM #  1 IS DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
              " ITEM #  2 IS DISCARDED DUE TO COMPLETE AGREEMENT\n"
              " ITEM #  3 IS DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
              " ITEM #  3 IS DISCARDED DUE TO COMPLETE AGREEMENT\n" +
                  CLEANUP_STARS +
                  "\n"
                  "    3 ITEMS WERE DISCARDED ON DATA CLEAN-UP PASS 1 DUE TO TOTAL LACK OF "
                  "VARIATION IN SUBJECTS' RESPONSES\n" +
                  CLEANUP_STARS +
                  "\n"
                  " \n"
                  " SUBJECT #       3 DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
                  " \n" +
                  CLEANUP_STARS +
                  "\n"
                  "     1 SUBJECTS WERE DISCARDED ON DATA CLEAN-UP\n"
                  " PASS  2 BECAUSE OF INVARIANT RESPONSE PATTERNS\n" +
                  CLEANUP_STARS +
                  "\n"
                  " \n"
                  " PROCESSED RESPONSES FROM    2 SUBJECTS TO   1 ITEMS HAVE BEEN READ.\n");
    EXPECT_EQ(st->ITEMID(1), 4);
}

// Item 1 goes in pass 1; the following items must keep their own cutoffs and
// category counts.  Respondent 1 has a 1 on item 2, below that item's cutoff
// of 2, so it goes in pass 2 only if the cutoffs moved with the items.
TEST_F(DataInput, PerItemCutoffsFollowTheRetainedItems) {
    job->NITEM = 3;
    job->NCAT(1) = 2, job->NCAT(2) = 3, job->NCAT(3) = 4;
    job->ICUT(1) = 0, job->ICUT(2) = 2, job->ICUT(3) = 1;
    data("1 110\n2 121\n3 102\n4 120\n", "(i1,1x,3i1)");
    ASSERT_TRUE(run().empty());
    EXPECT_EQ(job->NSUBJ, 3);
    EXPECT_EQ(st->PERSID(1), 2);
    EXPECT_EQ(job->NITEM, 2);
    EXPECT_EQ(job->NCAT(1), 3);
    EXPECT_EQ(job->NCAT(2), 4);
    EXPECT_EQ(job->ICUT(1), 2);
    EXPECT_EQ(job->ICUT(2), 1);
    EXPECT_NE(report().find(" SUBJECT #       1 DISCARDED DUE TO COMPLETE DISAGREEMENT\n \n" + CLEANUP_STARS +
                            "\n     1 SUBJECTS WERE DISCARDED ON DATA CLEAN-UP\n PASS  2 "),
              std::string::npos);
}

TEST_F(DataInput, UserDiscardsZeroItemsAndTheLastRecordOfAnIdentifier) {
    items(3, 2);
    job->NDELI = 2;
    job->IDELI(1) = 3;
    job->IDELI(2) = 9;  // no such item: ignored
    job->NDELS = 2;
    job->IDELS(1) = 7;  // twice in the data: the last one goes
    job->IDELS(2) = 99;
    data("7 101\n8 011\n7 111\n6 001\n", "(i1,1x,3i1)");
    ASSERT_TRUE(run().empty());
    std::string r = after_echo(3, 2);
    EXPECT_NE(r.find(" \n SUBJECT #       7 DISCARDED DUE TO COMPLETE DISAGREEMENT\n \n"), std::string::npos);
    EXPECT_NE(r.find(" ITEM #  3 IS DISCARDED DUE TO COMPLETE DISAGREEMENT\n"), std::string::npos);
    EXPECT_EQ(job->NSUBJ, 2);  // the first 7 and 8; 6 had only item 3
    EXPECT_EQ(st->PERSID(1), 7);
    EXPECT_EQ(st->PERSID(2), 8);
    EXPECT_EQ(st->RESP(1, 1), 1);
    EXPECT_EQ(st->RESP(1, 2), 0);
}

TEST_F(DataInput, ShortAndBlankLinesReadAsZeros) {
    items(3, 2);
    // Record 2 stops after its first response; line 4 is blank, and so is the
    // trailing empty line.
    data("11 101\n12 1\n13 011\n\n14 110\n\n", "(i2,1x,3i1)");
    ASSERT_TRUE(run().empty());
    EXPECT_EQ(job->NSUBJ, 4);
    EXPECT_EQ(st->PERSID(2), 12);
    EXPECT_EQ(st->RESP(2, 1), 1);
    EXPECT_EQ(st->RESP(2, 2), 0);
    EXPECT_EQ(st->RESP(2, 3), 0);
    EXPECT_EQ(after_echo(3, 2),
              " \n SUBJECT #       0 DISCARDED DUE TO COMPLETE DISAGREEMENT\n \n"
              " \n SUBJECT #       0 DISCARDED DUE TO COMPLETE DISAGREEMENT\n \n" +
                  CLEANUP_STARS +
                  "\n     2 SUBJECTS WERE DISCARDED ON DATA CLEAN-UP\n"
                  " PASS  1 BECAUSE OF INVARIANT RESPONSE PATTERNS\n" +
                  CLEANUP_STARS + "\n \n PROCESSED RESPONSES FROM    4 SUBJECTS TO   3 ITEMS HAVE BEEN READ.\n");
}

TEST_F(DataInput, EmptyDataFileRemovesEveryItem) {
    items(2, 2);
    data("", "(i2,2i1)");
    ASSERT_TRUE(run().empty());
    EXPECT_EQ(report(),
              " \n \n"
              " ITEM #  1 IS DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
              " ITEM #  1 IS DISCARDED DUE TO COMPLETE AGREEMENT\n"
              " ITEM #  2 IS DISCARDED DUE TO COMPLETE DISAGREEMENT\n"
              " ITEM #  2 IS DISCARDED DUE TO COMPLETE AGREEMENT\n" +
                  CLEANUP_STARS +
                  "\n    2 ITEMS WERE DISCARDED ON DATA CLEAN-UP PASS 1 DUE TO TOTAL LACK OF VARIATION IN "
                  "SUBJECTS' RESPONSES\n" +
                  CLEANUP_STARS + "\n \n PROCESSED RESPONSES FROM    0 SUBJECTS TO   0 ITEMS HAVE BEEN READ.\n");
    EXPECT_EQ(job->NSUBJ, 0);
    EXPECT_EQ(job->NITEM, 0);
}

// ---- scratch files -----------------------------------------------------

TEST_F(DataInput, LongIdentifiersAndWideMissingCodesSurviveTheScratchFiles) {
    items(2, 3);
    auto rec = [](const char* id, const char* a, const char* b) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%20s%12s%12s\n", id, a, b);
        return std::string(buf);
    };
    data(rec("-9223372036854775808", "1", "-2147483648") + rec("9223372036854775807", "-99", "2") +
             rec("123456789012345", "2", "0"),
         "(i20,2i12)");
    ASSERT_TRUE(run().empty());
    ASSERT_EQ(job->NSUBJ, 3);
    EXPECT_EQ(st->PERSID(1), INT64_MIN);
    EXPECT_EQ(st->PERSID(2), INT64_MAX);
    EXPECT_EQ(st->PERSID(3), 123456789012345);
    EXPECT_EQ(st->RESP(1, 2), INT32_MIN);
    EXPECT_EQ(st->RESP(2, 1), -99);
    EXPECT_EQ(st->RESP(3, 1), 2);
    EXPECT_EQ(io.units.contents(Unit::FT14), "    3   2\n");
    EXPECT_EQ(io.units.contents(Unit::FT08), "   1\n   2\n");
}

// The run's unit files are files in the work folder, written, rewound and read
// back through the same streams.
TEST_F(DataInput, ScratchFilesOnDiskAreReadBack) {
    TempDir work;
    std::string failed;
    ASSERT_TRUE(io.units.open_in_folder(work.folder(), &failed)) << failed;
    items(2, 3);
    data("101 12\n102 2-8\n103 01\n", "(i3,1x,i1,i2)");
    ASSERT_TRUE(run().empty());
    ASSERT_EQ(job->NSUBJ, 3);
    EXPECT_EQ(st->PERSID(3), 103);
    EXPECT_EQ(st->RESP(2, 2), -8);
    EXPECT_EQ(st->RESP(3, 2), 1);
    io.units.close_all();
    EXPECT_EQ(test::read_file(work.file("FT08F001")), "   1\n   2\n");
    EXPECT_EQ(test::split_lines(test::read_file(work.file("FT13F001"))).size(), 3u);
}

}  // namespace
}  // namespace vorm
