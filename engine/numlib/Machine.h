// Machine constants of the numerical library for IEEE single and double
// precision and 32-bit integers, its unit numbers and its option store.
//
// DMACH(N), AMACH(N), N = 1..8: smallest positive normalised magnitude,
// largest magnitude, smallest and largest relative spacing, log10(2), quiet
// NaN, +infinity, -infinity.  Outside 1..8 they post a TERMINAL error and
// return NaN.
// IMACH(N), N = 1..12: bits, characters, base and digits of integers, largest
// integer, floating-point base, then mantissa digits and smallest and largest
// exponent for single and double precision.  Outside 1..12 the program ends.
// UMACH(N, NUNIT): N = 1 input, 2 output, 3 messages (all the console: 5, 6,
// 6); a negative N sets that unit to NUNIT.  |N| outside 1..3 ends the
// program.
// IUMAG(PRODNM, ICHP, IACT, NUMOPT, IOPTS, IVALS): gets (IACT 1) or puts
// (IACT 2) the values of NUMOPT options of product "MATH" (chapters 1..10) or
// "STAT" (chapters 1..20); a negative option number means its default
// values.  IVALS holds the runs of values one after another in the order of
// IOPTS.  Errors are TERMINAL posts.
#pragma once

#include <string_view>

namespace vorm {

double DMACH(int N);
float AMACH(int N);
int IMACH(int N);
void UMACH(int N, int& NUNIT);
void IUMAG(std::string_view PRODNM, int ICHP, int IACT, int NUMOPT, const int* IOPTS, int* IVALS);

namespace detail {
// Units and option store back to their defaults (part of numlib_reset).
void machine_reset();
}  // namespace detail

}  // namespace vorm
