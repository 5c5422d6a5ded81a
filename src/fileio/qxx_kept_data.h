// What a song read from a `.ssc` keeps without editing it (kept charts, song and chart
// statements, the file's chart order), carried through the own format so a song saved
// as `.qx` and opened again still writes them back. The companion holds it as one
// statement whose value is hexadecimal text, so no byte of the kept sections can end
// the statement or be changed by the reading of lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/kept_charts.h"

namespace quillex {

inline constexpr std::string_view kKeptDataKey = "#KEPTSSC";

// The statement's value; empty for a song that keeps nothing.
std::string keptDataValue(const KeptSongData& kept);

// The data back from a value; nothing when the value is damaged (the song then keeps
// nothing, as a song written by an older version does).
std::optional<KeptSongData> parseKeptDataValue(std::string_view value);

} // namespace quillex
