// Per-call scratch storage of the numerical library: two fixed stacks, one of
// doubles and one of 32-bit integers, allocated once for the process.  A
// routine takes what it needs at entry and frees it, last taken first, before
// it returns.  A take that does not fit returns nullptr (nothing is taken);
// the routine then posts its TERMINAL storage error.
#pragma once

namespace vorm {

inline constexpr long NUMLIB_WORKSPACE_DOUBLES = 262144;
inline constexpr long NUMLIB_WORKSPACE_INTS = 65536;

double* numlib_workspace_take_double(long n);
int* numlib_workspace_take_int(long n);
// Frees p and everything taken after it from the same stack.
void numlib_workspace_free_double(double* p);
void numlib_workspace_free_int(int* p);
// Doubles and integers still taken (0 and 0 between library calls).
long numlib_workspace_doubles_in_use();
long numlib_workspace_ints_in_use();

}  // namespace vorm
