// How a `.qx` song file names the companion saved with it: the song file carries a
// check value of the companion's text, so a companion from another save (one that
// was replaced, edited, copied from another song, or left behind by a save killed
// between its two renames) is recognised when the pair is read.
#pragma once

#include <string>
#include <string_view>

namespace quillex {

inline constexpr std::string_view kCompanionCheckKey = "#QXXCHECK";

// The check value of a companion: a 64-bit FNV-1a hash of its text as the reader joins
// it (`joinedText`, so line ends do not count), as 16 lowercase hexadecimal digits.
std::string companionCheckValue(std::string_view joinedText);

// The song file's text with the statement naming `companionText` added at its end.
std::string withCompanionCheck(std::string songText, std::string_view companionText);

} // namespace quillex
