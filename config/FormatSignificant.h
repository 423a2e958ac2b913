// The one rule that turns a double into text with a given number of significant digits.
#pragma once

#include <string>

// Zero is "0.0"; 0.0001 < |value| <= 0.1 is fixed-point with its trailing zeros removed ("0.05");
// other values have `digits` significant digits with trailing zeros removed, in plain form while
// the decimal exponent E is in -1 <= E < digits ("100.0", "0.125", "2000.5") and in exponent form
// otherwise ("1.0e-5", "1.0e+20"). The text always holds a digit on both sides of the point.
// Infinities and NaN give "inf", "-inf" and "nan". digits below 1 count as 1.
[[nodiscard]] std::string FormatSignificant(double value, int digits);
