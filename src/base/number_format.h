// Number texts of the song, companion and settings files and of the screen. Every
// number is written with "." whatever the user's locale, through std::to_chars.
#pragma once

#include <string>

namespace quillex {

// A stream's default formatting ("%g"): at most `digits` (6) significant digits, no
// trailing zeros, no decimal point for whole values, exponent form (1.23457e+06) when
// the decimal exponent is below -5 or at least `digits`.
std::string formatGeneral(double value, int digits = 6);

// A number as song files carry it: formatGeneral with at least three exponent digits
// (1.23457e+006). Zero is "0", never "-0". More than 6 digits only where a tempo or an
// offset needs them to keep its markers.
std::string formatNumber(double value, int digits = 6);
void appendNumber(std::string& out, double value, int digits = 6);

// A fixed number of decimals ("%.3f" for 3).
std::string formatFixed(double value, int decimals);
inline std::string formatFixed3(double value) {
    return formatFixed(value, 3);
}

} // namespace quillex
