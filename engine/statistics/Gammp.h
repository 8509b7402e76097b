// The regularized lower incomplete gamma function P(a, x), in single
// precision, that turns every chi-square X with df degrees of freedom of the
// fit analysis into its tail probability p = 1 - GAMMP(df/2, X/2).
//
// GAMMP takes the series GSER below x = a + 1 and the continued fraction GCF
// (Q = 1 - P, modified Lentz) from there on; both rest on the Lanczos
// log-gamma GAMMLN.  Arguments and results are single precision: the series
// sum and the fraction's product are rounded to single precision at every
// step, everything else is carried in double.  Every message is a console
// line after which the computation goes on:
//   "BAD ARGUMENTS IN GAMMP"  x < 0, a <= 0, or either not a number; for
//                             a <= 0 or x not a number the result is NaN,
//                             which every fixed-format field prints as
//                             asterisks, and neither branch runs
//   "X < 0 IN GSER"           the series then gives 0
//   "A TOO LARGE, ITMAX TOO SMALL IN GSER" (or "... IN GCF")  after 500
//                             terms or steps without convergence
// P(a, +infinity) is 1: an infinite chi-square has probability 0.
#pragma once

#include <iosfwd>

namespace vorm {

float GAMMP(std::ostream& con, float a, float x);
// P(a, x) by the series.
float GSER(std::ostream& con, float a, float x);
// Q(a, x) = 1 - P(a, x) by the continued fraction.
float GCF(std::ostream& con, float a, float x);
// ln Gamma(x) for x > 0, accurate to single precision.
float GAMMLN(float x);

}  // namespace vorm
