// Numbers in boxes, job files, plot labels and messages, always with '.'.
//
// QApplication sets the process locale from the environment, so strtod and
// printf would read and write "0,001" under a comma locale, and the engine
// would read that back as 0.  Everything here works in the C locale whatever
// the process locale is.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace vormgui {

// A decimal number with optional blanks around it, an optional sign, digits
// with an optional fraction and an optional exponent ("2.576", " -1e-3 ",
// ".5").  Anything else, infinities and not-a-number included, is nullopt.
std::optional<double> parseNumber(const QString& text);

// A number taken to the nearest whole number, as plot scripts' ranges and
// columns are: parsed as above, rounded with halves to the even neighbour
// (2.5 gives 2, 3.5 gives 4), and nullopt when the rounded value is outside
// -32768 to 32767.  Not for counts that a user types or a job file holds:
// those are whole numbers or nothing (core/Limits.h).
std::optional<std::int16_t> nearestCount(const QString& text);

// The shortest text that reads back as the same number, as a box shows it:
// "30", "0.001", "2.576", "-0.5"; exponent form only for magnitudes below
// 1e-5 or from 1e15 on ("1e-07").
QString boxText(double value);

// A plot's tick label: at most 15 significant digits, a blank before values
// of zero and above, a minus sign before negative ones, no zero before the
// point, exponents in capitals (" .3", "-.5", " 0", " 12", " 1E-20").
QString tickLabel(double value);

// A number inside a message: at most 15 significant digits, no leading
// blank, a zero before the point ("0.3", "-2.5", "2000").
QString messageNumber(double value);

}  // namespace vormgui
