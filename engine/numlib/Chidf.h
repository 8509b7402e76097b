// Chi-squared distribution function in single precision, with the special
// functions it rests on.
//
// Errors go through the library's error machinery under each routine's own
// name.  Under its default tables a TERMINAL error ends the run (the NaN
// results below are what a caller sees with the stop table off), a WARNING is
// printed, and a NOTE or an ALERT is kept silently with the result given.
#pragma once

namespace vorm {

// P(chi-squared with DF degrees of freedom <= CHSQ); for DF above 65 through
// the normal approximation of the cube root.  NOTE 1 and 0 for CHSQ < 0;
// TERMINAL 2 and NaN for DF < 0.5; ALERT 3 and 0 when that approximation
// underflows.
float CHIDF(float CHSQ, float DF);

// The standard normal distribution function; 0 far in the lower tail, with no
// error.
float ANORDF(float X);

// The complementary error function; ALERT 1 and 0 where it underflows.
float ERFC(float X);

// The gamma function.  TERMINAL and NaN: 4 when it overflows (X above about
// 35), 5 for X = 0, 6 for X too close to 0, 7 for a negative integer.  ALERT 1
// and 0 when it underflows; WARNING 2 when X is so close to a negative integer
// that less than half the precision is left.
float GAMMA(float X);

// The first N terms of the Chebyshev series CS[0..N-1] at X, taking CS[0]
// half: CS[0]/2 + sum of CS[k] T_k(X).  TERMINAL and NaN: 5 for N < 1, 6 for
// N > 1000; WARNING 7 for X outside -1.1..1.1.
float CSEVL(float X, const float* CS, int N);

// How many leading terms of the Chebyshev series OS[0..NOS-1] reach accuracy
// ETA: the fewest whose neglected tail has magnitudes summing to at most ETA.
// TERMINAL and 0: 5 for NOS < 1, 6 when the last term alone exceeds ETA.
int INITS(const float* OS, int NOS, float ETA);

// XMIN and XMAX, overwritten: the arguments between which GAMMA neither
// underflows nor overflows in single precision.  TERMINAL 5 or 6 when the
// iteration for XMIN or for XMAX does not settle.
void R9GAML(float& XMIN, float& XMAX);

// The correction ln GAMMA(X) - ((X - 1/2) ln X - X + ln sqrt(2 pi)) for
// X >= 10.  TERMINAL 2 and NaN for X < 10; ALERT 1 and 0 where it underflows.
float R9LGMC(float X);

}  // namespace vorm
