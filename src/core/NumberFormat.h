#pragma once
// Numbers as the program shows them: fixed-point with a precision and a number of
// decimals, in the user's locale.

#include <string>

namespace lumetra {

// Rounds to at most `precision` significant digits and prints exactly `decimals`
// decimals, with the decimal separator of LC_NUMERIC. When the integer part needs more
// than `precision` digits the value is printed in exponent form instead:
// d.ddd…E+xx with precision significant digits (trailing zeros of the mantissa dropped).
// Rounding is half away from zero on the decimal digits; a result that rounds to zero
// never carries a minus sign. NaN and infinities print as "NAN", "INF" and "-INF".
std::string FormatFixed(double value, int precision, int decimals);

// The decimal separator of the current LC_NUMERIC locale.
char LocaleDecimalSeparator();

} // namespace lumetra
