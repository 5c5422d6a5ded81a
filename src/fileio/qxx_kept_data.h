// What a song read from a `.ssc` keeps without editing it (kept charts, song and chart
// statements, the file's chart order), carried through the own format so a song saved
// as `.qx` and opened again still writes them back. The companion holds it as one
// statement whose value is hexadecimal text, so no byte of the kept sections can end
// the statement or be changed by the reading of lines.
#pragma once

#include <string>
#include <string_view>

#include "model/kept_charts.h"

namespace quillex {

inline constexpr std::string_view kKeptDataKey = "#KEPTSSC";

// The statement's value; empty for a song that keeps nothing.
std::string keptDataValue(const KeptSongData& kept);

// The data back from a value. From a damaged one (cut short, an odd number of digits,
// a character that is no hexadecimal digit, fields that do not add up) the parts read
// whole before the damage are kept, and `lost` says what could not be read; it is
// empty for a whole value.
struct KeptDataRead {
    KeptSongData kept;
    std::string lost;
};
KeptDataRead readKeptDataValue(std::string_view value);

} // namespace quillex
