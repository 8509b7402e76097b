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

int N1RTY(int which);
int N1RCD(int which);
int LAST_ERROR_CODE();
void ERSET(int iersvr, int ipact, int isact);
int ERR_TAKE_PENDING();
void ERR_INIT();
void ERR_PRINT();

// Where the library prints (the console of the run); std::cout until set.
void numlib_set_console(std::ostream* out);
std::ostream& numlib_console();
// Back to the state before first use (tests run many "programs" in one process).
void numlib_reset();

}  // namespace vorm
