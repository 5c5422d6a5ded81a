// The text of a `.ssc` song file: "#VERSION", the header and the timing fitted to
// the beat markers as the `.sm` writer fits it, the song statements read from the
// file in their order, then the charts in the order read (a kept chart byte for byte)
// and the charts made since after them.
#pragma once

#include <string>

#include "fileio/sm_file_layout.h"

namespace quillex {

inline constexpr std::string_view kSscVersion = "0.83";

// The whole file, line breaks written as CR LF.
std::string sscSongText(const SmWriteInput& input);

} // namespace quillex
