// Number texts of the song files: numbers written "as a number" (a stream's default
// formatting as song files have always carried it) and the fixed three-decimal form.
#pragma once

#include <string>

namespace quillex {

// At most 6 significant digits, no trailing zeros, no decimal point for whole values,
// exponent form with at least three exponent digits (1.23457e+006) when the decimal
// exponent is below -5 or at least 6. Zero is "0", never "-0".
std::string formatNumber(double value);
void appendNumber(std::string& out, double value);

// "%.3f".
std::string formatFixed3(double value);

} // namespace quillex
