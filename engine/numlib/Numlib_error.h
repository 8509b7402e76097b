// Error machinery of the numerical library: one process-wide error record with
// a stack of routine names, seven error types, message templates with keyed
// substitutions, print and stop tables, and the code of the last call.
//
// Every library routine calls E1PSH with its own name on entry and E1POP with
// the same name on exit; trouble is posted with E1MES after the keys of its
// template are set.  Messages go to the library's console stream.  "Ending the
// program" throws EngineStop with a status line, so the run driver can close
// its files and leave the status file saying what went wrong.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace vorm {

// Severities: 1 NOTE, 2 ALERT, 3 WARNING, 4 FATAL, 5 TERMINAL, 6 WARNING
// (immediate), 7 FATAL (immediate).
void E1PSH(std::string_view name);
void E1POP(std::string_view name);
void E1MES(int type, int code, std::string_view message_template);

void MSG_SETI(int k, long long value);
void MSG_SETR(int k, float value);
void MSG_SETD(int k, double value);
void MSG_SETL(int k, std::string_view text);

// Types: 1 NOTE, 2 ALERT, 3 WARNING, 4 FATAL, 5 TERMINAL, 6 WARNING (printed
// when posted), 7 FATAL (printed when posted).  ERSET/ERR_SET_TABLES: severity
// 0 = all seven types, 1..5 that type (3 also sets 6, 4 also sets 7);
// attribute -1 = leave, 0 = off, 1 = on, 2 = back to the default.
int N1RTY(int which);
int N1RCD(int which);
int LAST_ERROR_CODE();
void ERSET(int iersvr, int ipact, int isact);
int ERR_TAKE_PENDING();
void ERR_INIT();
void ERR_PRINT();
void ERR_SET_TABLES(int iersvr, int ipatt, int isatt);

// Argument checks of the library's entry routines.  Each posts a TERMINAL
// error with the running check number as its code and adds 1 to that number
// whether or not the check fails.
// value in lower..upper; with upper < lower only the lower bound applies.
void ARG_RANGE_CHECK(int value, std::string_view name, int lower, int upper, int& check);
// a <= b.
void ARG_ORDER_CHECK(int a, std::string_view name_a, int b, std::string_view name_b, int& check);
// a >= lower (skipped when name_a begins with "*", which is not printed),
// b >= 1, and a <= b when b is at least 1.
void ARG_DIM_CHECK(int lower, int a, std::string_view name_a, int b, std::string_view name_b, int& check);

// Where the library prints (the console of the run); std::cout until set.
void numlib_set_console(std::ostream* out);
std::ostream& numlib_console();
// Back to the state before first use (tests run many "programs" in one
// process); the console stays where it was pointed.
void numlib_reset();
// Ends the program the library's way: flushes the console and throws
// EngineStop with one status line naming the error; the error state is set
// back to that of a fresh program.
[[noreturn]] void numlib_end_program(int type, int code, std::string_view routine);

}  // namespace vorm
