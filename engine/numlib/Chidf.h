// Chi-squared distribution function in single precision, with the special
// functions it rests on.
#pragma once

namespace vorm {

float CHIDF(float CHSQ, float DF);
float ANORDF(float X);
float ERFC(float X);
float GAMMA(float X);
float CSEVL(float X, const float* CS, int N);
int INITS(const float* OS, int NOS, float ETA);
void R9GAML(float& XMIN, float& XMAX);
float R9LGMC(float X);

}  // namespace vorm
