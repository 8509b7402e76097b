// Character routines of the numerical library, used by its error machinery
// and by the routines that read letters among their arguments.  Positions are
// 1-based, as in the messages; ASCII throughout.
#pragma once

#include <string>
#include <string_view>

namespace vorm {

// Reads a signed decimal integer from text: leading blanks, an optional sign,
// then digits.  next := position of the first character not part of it (1 +
// the text's length when the number runs to its end).  No digits: 0, and next
// points at the character where the digits should have begun.
int TEXT_TO_INT(std::string_view text, int& next);
// The integer right-justified in a field of the given width, minus sign when
// negative; width asterisks when it does not fit.
std::string INT_TO_TEXT(long long value, int width);
// Position of the first character of text that is not in set; 0 when there is
// none.
int SKIP_SET(std::string_view text, std::string_view set);
// First position of sub in text, 0 when absent (an empty sub is never found).
int STR_INDEX(std::string_view text, std::string_view sub);
int STR_INDEX_NOCASE(std::string_view text, std::string_view sub);
// -1, 0 or 1; the shorter text compares as if padded with blanks.
int STR_CMP_NOCASE(std::string_view a, std::string_view b);
// Copies from(first..last) into to(to_first..to_last), both ranges cut to
// their texts' bounds; the target keeps its length.  overflow := true when
// not every character of the source range found a place.
void STR_PLACE(std::string_view from, int first, int last, std::string& to, int to_first, int to_last, bool& overflow);
int CHAR_CODE(char c);
char CODE_CHAR(int code);
// As CODE_CHAR, but a negative code posts a TERMINAL error (a blank is
// returned when the run goes on).
char ACHAR(int code);
// Code of the character folded to upper case.
int CHAR_UPCODE(char c);
bool CHAR_EQ_NOCASE(char a, char b);

}  // namespace vorm
