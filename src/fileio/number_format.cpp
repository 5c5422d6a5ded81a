#include "fileio/number_format.h"

#include <cstdio>
#include <cstring>

namespace quillex {

void appendNumber(std::string& out, double value) {
    if (value == 0.0) {
        out.push_back('0'); // also for -0: an offset of zero is not negative
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    // The C library writes at least two exponent digits; song files carry three.
    char* exponent = std::strchr(text, 'e');
    if (!exponent) {
        out.append(text);
        return;
    }
    out.append(text, exponent + 2); // mantissa, 'e' and the sign
    const char* digits = exponent + 2;
    for (std::size_t n = std::strlen(digits); n < 3; ++n)
        out.push_back('0');
    out.append(digits);
}

std::string formatNumber(double value) {
    std::string out;
    appendNumber(out, value);
    return out;
}

std::string formatFixed3(double value) {
    char text[512]; // room for the largest doubles written in full
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace quillex
