#include "numlib/Numlib_error.h"

#include <cmath>
#include <string>

#include "Numlib_test_fixture.h"
#include "numlib/Numlib_text.h"

namespace vorm::test {
namespace {

// A library routine called by the engine (level 2) that posts one error.
void routine(std::string_view name, int type, int code, std::string_view text) {
    E1PSH(name);
    E1MES(type, code, text);
    E1POP(name);
}

// A routine at level 2 whose worker (level 3) posts the error.
void nested(std::string_view outer, std::string_view inner, int type, int code, std::string_view text) {
    E1PSH(outer);
    routine(inner, type, code, text);
    E1POP(outer);
}

std::string line1(const std::string& word8, int code, const std::string& name, const std::string& text) {
    return "\n *** " + word8 + " ERROR " + std::to_string(code) + " from " + name + ".  " + text + "\n";
}

const std::string kLibStop = " THE NUMERICAL LIBRARY ENDED THE RUN: ";

using ErrorMachineryTest = NumlibTest;

// ---- bad use of the machinery itself -------------------------------------

TEST_F(ErrorMachineryTest, PopWithEmptyStackPrintsAndEndsWhateverTheTables) {
    ERSET(0, 0, 0);
    printed();
    EXPECT_EQ(stop_line([] { E1POP("LOST "); }), kLibStop + "TERMINAL ERROR 1 FROM USER");
    EXPECT_EQ(printed(), line1("TERMINAL", 1, "USER", "Error condition in E1POP.  Cannot pop from") +
                             " ***          LOST because stack is empty.\n");
}

TEST_F(ErrorMachineryTest, MismatchedPopNamesBothRoutines) {
    ERSET(0, 1, 0);
    E1PSH("ALPHA ");
    EXPECT_EQ(stop_line([] { E1POP("BETA"); }), kLibStop + "TERMINAL ERROR 2 FROM ALPHA");
    EXPECT_EQ(printed(), line1("TERMINAL", 2, "ALPHA", "Error condition in E1POP.  BETA does not") +
                             " ***          match the name ALPHA in the stack.\n");
}

TEST_F(ErrorMachineryTest, FiftiethNestedPushFails) {
    for (int i = 0; i < 49; ++i) E1PSH("DEEP");
    EXPECT_EQ(N1RTY(0), 0);
    EXPECT_EQ(stop_line([] { E1PSH("DEEP"); }), kLibStop + "TERMINAL ERROR 1 FROM DEEP");
    std::string out = printed();
    EXPECT_NE(out.find(" *** TERMINAL ERROR 1 from DEEP.  Error condition in E1PSH.  Push would"), std::string::npos)
        << out;
    EXPECT_NE(out.find("exceed 50."), std::string::npos) << out;
    EXPECT_NE(out.find("(Called internally)"), std::string::npos);
}

TEST_F(ErrorMachineryTest, BadArgumentToTypeOrCodeQueryEnds) {
    ERSET(0, 0, 0);
    EXPECT_EQ(stop_line([] { N1RTY(2); }), kLibStop + "TERMINAL ERROR 1 FROM USER");
    EXPECT_EQ(printed(),
              line1("TERMINAL", 1, "USER", "The argument passed to N1RTY must be 0 or") + " ***          1. \n");
    EXPECT_EQ(stop_line([] { N1RCD(-1); }), kLibStop + "TERMINAL ERROR 1 FROM USER");
    EXPECT_EQ(printed(),
              line1("TERMINAL", 1, "USER", "The argument passed to N1RCD must be 0 or") + " ***          1. \n");
}

TEST_F(ErrorMachineryTest, StopLeavesAFreshStateForTheNextProgram) {
    E1PSH("OUTER");
    E1PSH("INNER");
    EXPECT_NE(stop_line([] {
                  E1MES(4, 1, "x");
                  E1POP("INNER");
                  E1POP("OUTER");
              }),
              "");
    printed();
    // The next call starts at level 2 again with the default tables.
    routine("NEXT", 1, 3, "quiet note");
    EXPECT_EQ(printed(), "");
    EXPECT_EQ(LAST_ERROR_CODE(), 3);
}

// ---- default tables ------------------------------------------------------

TEST_F(ErrorMachineryTest, DefaultTablesNoteAndAlertAreSilent) {
    routine("ROUTA", 1, 7, "a note");
    routine("ROUTB", 2, 8, "an alert");
    EXPECT_EQ(printed(), "");
    EXPECT_EQ(LAST_ERROR_CODE(), 8);
}

TEST_F(ErrorMachineryTest, DefaultTablesWarningPrintsAtPopAndGoesOn) {
    E1PSH("ROUTA");
    E1MES(3, 4, "Something is doubtful.");
    EXPECT_EQ(printed(), "");
    E1POP("ROUTA");
    EXPECT_EQ(printed(), line1("WARNING ", 4, "ROUTA", "Something is doubtful."));
    EXPECT_EQ(LAST_ERROR_CODE(), 4);
}

TEST_F(ErrorMachineryTest, DefaultTablesFatalPrintsAndEndsAtUserLevel) {
    EXPECT_EQ(stop_line([] { nested("DLINRG ", "dL2NRG", 4, 2, "The matrix is singular."); }),
              kLibStop + "FATAL ERROR 2 FROM DLINRG");
    EXPECT_EQ(printed(), line1("FATAL   ", 2, "DLINRG", "The matrix is singular."));
}

TEST_F(ErrorMachineryTest, DefaultTablesTerminalPrintsAtPostAndEndsAtPop) {
    E1PSH("ROUTA");
    E1MES(5, 3, "Broken.");
    EXPECT_EQ(printed(), line1("TERMINAL", 3, "ROUTA", "Broken."));
    EXPECT_EQ(stop_line([] { E1POP("ROUTA"); }), kLibStop + "TERMINAL ERROR 3 FROM ROUTA");
    EXPECT_EQ(printed(), "");
}

TEST_F(ErrorMachineryTest, DefaultTablesImmediateWarningGoesOnImmediateFatalEnds) {
    E1PSH("ROUTA");
    E1MES(6, 1, "Now.");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "ROUTA", "Now."));
    E1POP("ROUTA");
    EXPECT_EQ(printed(), "");
    EXPECT_EQ(LAST_ERROR_CODE(), 0);

    E1PSH("ROUTB");
    E1MES(7, 2, "Now and fatal.");
    EXPECT_EQ(printed(), line1("FATAL   ", 2, "ROUTB", "Now and fatal."));
    EXPECT_EQ(stop_line([] { E1POP("ROUTB"); }), kLibStop + "FATAL ERROR 2 FROM ROUTB");
}

TEST_F(ErrorMachineryTest, UnknownTypePrintsAsUnknown) {
    ERSET(0, 1, 0);
    E1PSH("ROUTA");
    E1MES(9, 1, "Odd.");
    ERR_PRINT();
    EXPECT_EQ(printed(), line1("UNKNOWN ", 1, "ROUTA", "Odd."));
    E1POP("ROUTA");
}

// ---- after ERSET(0, 1, 0) ------------------------------------------------

TEST_F(ErrorMachineryTest, AfterErsetEveryTypePrintsAndNoneEnds) {
    ERSET(0, 1, 0);
    routine("ROUTA", 1, 1, "A note.");
    EXPECT_EQ(printed(), line1("NOTE    ", 1, "ROUTA", "A note."));
    routine("ROUTA", 2, 2, "An alert.");
    EXPECT_EQ(printed(), line1("ALERT   ", 2, "ROUTA", "An alert."));
    nested("DLINRG ", "dL2NRG", 3, 1, "Ill-conditioned.");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "DLINRG", "Ill-conditioned."));
    EXPECT_EQ(LAST_ERROR_CODE(), 1);
    nested("DLINRG ", "dL2NRG", 4, 2, "Singular.");
    EXPECT_EQ(printed(), line1("FATAL   ", 2, "DLINRG", "Singular."));
    EXPECT_EQ(LAST_ERROR_CODE(), 2);
    routine("ROUTA", 5, 3, "Terminal.");
    EXPECT_EQ(printed(), line1("TERMINAL", 3, "ROUTA", "Terminal."));
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
    routine("ROUTA", 7, 4, "Immediate fatal.");
    EXPECT_EQ(printed(), line1("FATAL   ", 4, "ROUTA", "Immediate fatal."));
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
}

TEST_F(ErrorMachineryTest, NoteFromAWorkerIsNeverPrinted) {
    ERSET(0, 1, 0);
    nested("OUTER", "INNER", 1, 5, "Deep note.");
    EXPECT_EQ(printed(), "");
    EXPECT_EQ(LAST_ERROR_CODE(), 0);  // a note does not travel up
}

TEST_F(ErrorMachineryTest, TerminalFromAWorkerPrintsTracebackOnce) {
    ERSET(0, 1, 0);
    nested("OUTER", "INNER", 5, 4, "Bad thing.");
    EXPECT_EQ(printed(), line1("TERMINAL", 4, "INNER", "Bad thing.") +
                             "     Here is a traceback of subprogram calls in reverse order:\n"
                             "     Routine name                    Error type  Error code\n"
                             "     ------------                    ----------  ----------\n"
                             "     INNER                                5           4    (Called internally)\n"
                             "     OUTER                                0           0\n"
                             "     USER                                 0           0\n");
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
}

TEST_F(ErrorMachineryTest, TerminalFromAWorkerEndsAtItsOwnPopUnderDefaults) {
    E1PSH("OUTER");
    E1PSH("INNER");
    E1MES(5, 4, "Bad thing.");
    EXPECT_EQ(stop_line([] { E1POP("INNER"); }), kLibStop + "TERMINAL ERROR 4 FROM INNER");
}

TEST_F(ErrorMachineryTest, LaterPostReplacesTheWaitingMessage) {
    ERSET(0, 1, 0);
    E1PSH("OUTER");
    routine("INNER", 3, 1, "First.");
    E1MES(3, 2, "Second.");
    E1POP("OUTER");
    EXPECT_EQ(printed(), line1("WARNING ", 2, "OUTER", "Second."));
}

TEST_F(ErrorMachineryTest, ZeroTypeOrCodeDiscardsTheMessage) {
    ERSET(0, 1, 0);
    E1PSH("ROUTA");
    E1MES(3, 1, "Doubtful.");
    E1MES(-1, 0, "ignored");
    E1POP("ROUTA");
    EXPECT_EQ(printed(), "");
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
}

TEST_F(ErrorMachineryTest, BlankTemplateKeepsTheStoredTextMinusOneKeepsTypeAndCode) {
    ERSET(0, 1, 0);
    E1PSH("ROUTA");
    E1MES(3, 6, "Kept text.");
    E1MES(4, -1, " ");
    E1POP("ROUTA");
    EXPECT_EQ(printed(), line1("FATAL   ", 6, "ROUTA", "Kept text."));
}

TEST_F(ErrorMachineryTest, WorkerNameWithLowerCaseFirstLetterIsShownInUpperCase) {
    ERSET(0, 1, 0);
    routine("dL2TRG", 3, 1, "x");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "DL2TRG", "x"));
    routine("abc", 3, 1, "x");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "abc", "x"));
}

// ---- ERSET and the tables ------------------------------------------------

TEST_F(ErrorMachineryTest, ErsetWithBadSeverityChangesNothing) {
    ERSET(0, 1, 0);
    printed();
    ERSET(6, 0, 1);
    EXPECT_EQ(printed(), line1("TERMINAL", 1, "ERSET", "Invalid error severity level indicator. ") +
                             " ***          IERSVR must be 0 to 5.  IERSVR = 6\n");
    routine("ROUTA", 1, 1, "still printed");
    EXPECT_NE(printed(), "");
}

TEST_F(ErrorMachineryTest, ErsetWithBadArgumentEndsUnderDefaults) {
    EXPECT_EQ(stop_line([] { ERSET(0, 3, 0); }), kLibStop + "TERMINAL ERROR 2 FROM ERSET");
    EXPECT_NE(printed().find("IPACT = 3"), std::string::npos);
    EXPECT_EQ(stop_line([] { ERSET(0, 0, -2); }), kLibStop + "TERMINAL ERROR 3 FROM ERSET");
    EXPECT_NE(printed().find("ISACT = -2"), std::string::npos);
}

TEST_F(ErrorMachineryTest, ErsetForWarningAlsoSetsImmediateWarning) {
    ERSET(3, 0, -1);
    routine("ROUTA", 3, 1, "w");
    routine("ROUTA", 6, 1, "w6");
    EXPECT_EQ(printed(), "");
    ERSET(4, 1, 0);  // FATAL and type 7 printed, going on
    routine("ROUTA", 4, 2, "f");
    routine("ROUTA", 7, 2, "f7");
    EXPECT_EQ(printed(), line1("FATAL   ", 2, "ROUTA", "f") + line1("FATAL   ", 2, "ROUTA", "f7"));
    ERSET(0, 2, 2);  // back to the defaults: FATAL ends again
    EXPECT_NE(stop_line([] { routine("ROUTA", 4, 2, "f"); }), "");
}

TEST_F(ErrorMachineryTest, SetTablesRejectsBadAttributes) {
    ERSET(0, 1, 0);
    E1PSH("ROUTA");
    ERR_SET_TABLES(1, 5, 0);
    EXPECT_NE(printed().find("IPATT = 5"), std::string::npos);
    ERR_SET_TABLES(1, 0, -3);
    EXPECT_NE(printed().find("ISATT = -3"), std::string::npos);
    E1POP("ROUTA");
    routine("ROUTB", 1, 1, "note still printed");
    EXPECT_NE(printed(), "");
}

TEST_F(ErrorMachineryTest, PendingFlagsReturnStopEntriesAndClear) {
    E1PSH("ROUTA");
    EXPECT_EQ(ERR_TAKE_PENDING(), 0);
    E1MES(6, 1, "w");
    EXPECT_EQ(ERR_TAKE_PENDING(), 0);  // type 6 does not stop by default
    E1MES(6, 1, "w");
    E1MES(7, 1, "f");
    EXPECT_EQ(ERR_TAKE_PENDING(), 1);  // type 7 wins
    EXPECT_EQ(ERR_TAKE_PENDING(), 0);
    E1MES(0, 0, "");
    E1POP("ROUTA");
}

// ---- name stack and the last code ----------------------------------------

TEST_F(ErrorMachineryTest, TypeAndCodeOfLevelsAcrossNestedCalls) {
    EXPECT_EQ(N1RTY(0), 0);  // USER
    EXPECT_EQ(N1RTY(1), -1);
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
    E1PSH("OUTER");
    E1PSH("INNER");
    E1MES(2, 9, "alert");
    EXPECT_EQ(N1RTY(0), 2);
    EXPECT_EQ(N1RCD(0), 9);
    E1POP("INNER");
    // The outer routine reads what its worker left.
    EXPECT_EQ(N1RTY(1), 2);
    EXPECT_EQ(N1RCD(1), 9);
    EXPECT_EQ(N1RTY(0), 2);  // travelled up
    E1PSH("SECOND");
    EXPECT_EQ(N1RTY(0), 0);
    E1POP("SECOND");
    EXPECT_EQ(N1RTY(1), 0);
    E1POP("OUTER");
    EXPECT_EQ(N1RTY(1), 2);
    EXPECT_EQ(LAST_ERROR_CODE(), 9);
    routine("CLEAN", 0, 0, "");
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
}

TEST_F(ErrorMachineryTest, NamesAreComparedBlankPaddedAndCutTo32) {
    E1PSH("CHIDF ");
    E1POP("CHIDF");
    const std::string long_name(40, 'Q');
    E1PSH(long_name);
    E1POP(long_name.substr(0, 32) + "different tail");
    EXPECT_EQ(N1RTY(0), 0);
}

// ---- templates and keys --------------------------------------------------

TEST_F(ErrorMachineryTest, EveryKeyKindIsSubstituted) {
    ERSET(0, 1, 0);
    E1PSH("KEYS");
    MSG_SETI(1, -42);
    MSG_SETR(2, 1.5f);
    MSG_SETD(3, -12345.678);
    MSG_SETL(4, "NAME    ");
    E1MES(3, 1, "%(I1) %(r2) %(D3) %(l4) %(I2) %(X1) %(I0) %(I1");
    E1POP("KEYS");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "KEYS", "-42 1.500000E+00 -1.234567800000000D+04") +
                             " ***          NAME %(I2) %(X1) %(I0) %(I1\n");
}

TEST_F(ErrorMachineryTest, RealKeysOfZeroNanAndLargeExponents) {
    ERSET(0, 1, 0);
    E1PSH("KEYS");
    MSG_SETR(1, 0.0f);
    MSG_SETD(2, 0.0);
    MSG_SETD(3, 1e300);
    MSG_SETR(4, -2.5e-10f);
    E1MES(3, 1, "%(R1) %(D2)%/%(D3) %(R4)");
    E1POP("KEYS");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "KEYS", "0.000000E+00 0.000000000000000D+00") +
                             " ***          1.000000000000000+300 -2.500000E-10\n");
    E1PSH("KEYS");
    MSG_SETD(1, std::nan(""));
    MSG_SETR(2, -0.0f);
    MSG_SETD(3, -1.0 / 0.0);
    E1MES(3, 1, "%(D1) %(R2) %(D3)");
    E1POP("KEYS");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "KEYS", "NaN -0.000000E+00 -Infinity"));
}

TEST_F(ErrorMachineryTest, LiteralKeysTrimOrKeepBlanks) {
    ERSET(0, 1, 0);
    E1PSH("KEYS");
    MSG_SETL(1, "AB  ");
    MSG_SETL(-2, " CD  ");
    MSG_SETL(3, "    ");
    MSG_SETL(10, "never");
    MSG_SETI(0, 5);
    MSG_SETI(10, 5);
    E1MES(3, 1, "[%(L1)][%(L2)][%(L3)][%(I9)]");
    E1POP("KEYS");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "KEYS", "[AB][ CD  ][ ][%(I9)]"));
}

TEST_F(ErrorMachineryTest, KeysAreClearedByEveryPost) {
    ERSET(0, 1, 0);
    E1PSH("KEYS");
    MSG_SETI(1, 5);
    E1MES(3, 1, "a %(I1)");
    E1MES(3, 1, "b %(I1)");
    E1POP("KEYS");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "KEYS", "b %(I1)"));
}

TEST_F(ErrorMachineryTest, KeyThatOverflowsTheTableIsDropped) {
    ERSET(0, 1, 0);
    E1PSH("KEYS");
    MSG_SETL(1, std::string(300, 'a'));  // cut to 255: 263 of the 300 characters
    MSG_SETL(2, std::string(40, 'b'));   // 48 more: dropped
    MSG_SETI(1, 7);                      // 9 more: fits
    E1MES(3, 1, "%(L2) %(I1)");
    E1POP("KEYS");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "KEYS", "%(L2) 7"));
}

TEST_F(ErrorMachineryTest, LongMessageIsBrokenAtBlanksAndForcedBreaks) {
    ERSET(0, 1, 0);
    // Prefix " 1 from WRAP" has 12 characters, leaving 47 on the first line.
    routine("WRAP", 3, 1,
            "The quick brown fox jumps over the lazy dog and keeps running far beyond the line limit "
            "of sixty-four characters%/forced break here");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "WRAP", "The quick brown fox jumps over the lazy dog") +
                             " ***          and keeps running far beyond the line limit of sixty-four \n"
                             " ***          characters\n"
                             " ***          forced break here\n");
    // A word longer than a line is cut at 64 characters.
    // The first line breaks before the last blank it can hold, the one of ".  ".
    std::string word(101, 'y');
    word[0] = 'X';
    routine("WRAP", 3, 1, word);
    std::string expected = "\n *** WARNING  ERROR 1 from WRAP. \n ***          ";
    expected.append(word, 0, 64).append("\n ***          ").append(word, 64, 37).append("\n");
    EXPECT_EQ(printed(), expected);
    // A forced break early on the first line.
    routine("WRAP", 3, 1, "Short.%/Next line.");
    EXPECT_EQ(printed(), line1("WARNING ", 1, "WRAP", "Short.") + " ***          Next line.\n");
}

TEST_F(ErrorMachineryTest, MessageTextIsCutAt1024Characters) {
    ERSET(0, 1, 0);
    routine("CUT", 3, 1, std::string(2000, 'z'));
    std::string out = printed();
    std::size_t zs = 0;
    for (char c : out) zs += c == 'z';
    EXPECT_EQ(zs, 1021u);  // 1024 less the leading ".  "
}

// ---- argument checks -----------------------------------------------------

TEST_F(ErrorMachineryTest, ArgumentChecksCountEveryCheck) {
    ERSET(0, 1, 0);
    E1PSH("CHECKS");
    int check = 1;
    ARG_RANGE_CHECK(3, "NVAR", 1, 0, check);
    EXPECT_EQ(printed(), "");
    ARG_RANGE_CHECK(0, "NVAR", 1, 0, check);
    EXPECT_EQ(N1RCD(0), 2);
    EXPECT_EQ(printed(), line1("TERMINAL", 2, "CHECKS", "NVAR = 0.  NVAR must be greater than or") +
                             " ***          equal to 1.\n");
    ARG_RANGE_CHECK(4, "IDO", 0, 3, check);
    EXPECT_EQ(N1RCD(0), 3);
    EXPECT_NE(printed().find("IDO = 4.  IDO must be greater than or\n ***          equal to 0 and less than or "
                             "equal to 3.\n"),
              std::string::npos);
    ARG_ORDER_CHECK(5, "NVAR", 4, "LDCOV", check);
    EXPECT_EQ(N1RCD(0), 4);
    EXPECT_NE(printed().find("NVAR = 5 and LDCOV = 4.  NVAR must be\n"), std::string::npos);
    EXPECT_EQ(check, 5);
    ARG_DIM_CHECK(1, 3, "*NROW", 0, "LDX", check);  // skipped, fails, not checked
    EXPECT_EQ(check, 8);
    EXPECT_EQ(N1RCD(0), 6);
    EXPECT_NE(printed().find("LDX = 0."), std::string::npos);
    ARG_DIM_CHECK(1, 3, "*NROW", 2, "LDX", check);
    EXPECT_EQ(N1RCD(0), 10);
    EXPECT_NE(printed().find("NROW = 3 and LDX = 2.  NROW must"), std::string::npos);
    EXPECT_EQ(check, 11);
    E1MES(0, 0, "");
    E1POP("CHECKS");
}

// ---- character routines --------------------------------------------------

TEST(NumlibText, CharacterRoutines) {
    int next = 0;
    EXPECT_EQ(TEXT_TO_INT("  -123abc", next), -123);
    EXPECT_EQ(next, 7);
    EXPECT_EQ(TEXT_TO_INT("+45", next), 45);
    EXPECT_EQ(next, 4);
    EXPECT_EQ(TEXT_TO_INT("99999999999", next), 2147483647);
    EXPECT_EQ(INT_TO_TEXT(-12, 5), "  -12");
    EXPECT_EQ(INT_TO_TEXT(123456, 3), "***");
    EXPECT_EQ(SKIP_SET("  ,x", " ,"), 4);
    EXPECT_EQ(SKIP_SET("   ", " "), 0);
    EXPECT_EQ(STR_INDEX("ABCABC", "CA"), 3);
    EXPECT_EQ(STR_INDEX("ABC", "c"), 0);
    EXPECT_EQ(STR_INDEX_NOCASE("ABC", "bc"), 2);
    EXPECT_EQ(STR_CMP_NOCASE("math", "MATH  "), 0);
    EXPECT_EQ(STR_CMP_NOCASE("MATA", "math"), -1);
    EXPECT_EQ(STR_CMP_NOCASE("STAT", "MATH"), 1);
    std::string target = "..........";
    bool overflow = true;
    STR_PLACE("hello", 2, 4, target, 9, 20, overflow);
    EXPECT_EQ(target, "........el");
    EXPECT_TRUE(overflow);
    STR_PLACE("hello", 1, 2, target, 1, 5, overflow);
    EXPECT_EQ(target, "he......el");
    EXPECT_FALSE(overflow);
    EXPECT_EQ(CHAR_CODE('A'), 65);
    EXPECT_EQ(CODE_CHAR(97), 'a');
    EXPECT_EQ(CHAR_UPCODE('t'), 'T');
    EXPECT_TRUE(CHAR_EQ_NOCASE('u', 'U'));
    EXPECT_FALSE(CHAR_EQ_NOCASE('u', 'L'));
}

TEST_F(ErrorMachineryTest, AcharRejectsNegativeCode) {
    EXPECT_EQ(ACHAR(66), 'B');
    EXPECT_EQ(stop_line([] { ACHAR(-1); }), kLibStop + "TERMINAL ERROR 1 FROM ACHAR");
    EXPECT_NE(printed().find("The ASCII value must be non-negative while\n ***          I = -1 is given.\n"),
              std::string::npos);
}

}  // namespace
}  // namespace vorm::test
