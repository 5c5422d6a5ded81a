#include "base/number_format.h"

#include <charconv>

namespace quillex {

namespace {

// Room for the largest doubles written in full with a few decimals.
constexpr std::size_t kNumberRoom = 512;

} // namespace

std::string formatGeneral(double value, int digits) {
    char text[kNumberRoom];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
    return std::string(text, end.ptr);
}

void appendNumber(std::string& out, double value, int digits) {
    if (value == 0.0) {
        out.push_back('0'); // also for -0: an offset of zero is not negative
        return;
    }
    const std::string text = formatGeneral(value, digits);
    // Two exponent digits at least are written; song files carry three.
    const std::size_t exponent = text.find('e');
    if (exponent == std::string::npos) {
        out.append(text);
        return;
    }
    out.append(text, 0, exponent + 2); // mantissa, 'e' and the sign
    for (std::size_t n = text.size() - (exponent + 2); n < 3; ++n)
        out.push_back('0');
    out.append(text, exponent + 2);
}

std::string formatNumber(double value, int digits) {
    std::string out;
    appendNumber(out, value, digits);
    return out;
}

std::string formatFixed(double value, int decimals) {
    char text[kNumberRoom];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, end.ptr);
}

} // namespace quillex
