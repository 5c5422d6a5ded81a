// The text of a `.sm` song file (also the content of the own `.qx` song file): the
// header from the song's properties, one BPM per beat interval or one for the song,
// the pauses as stops with their rows taken out of the chart, the kept tags, the
// charts measure by measure and the foreign charts as they were read.
#pragma once

#include <string>
#include <string_view>

#include "fileio/sm_file_layout.h"

namespace quillex {

// The whole file, line breaks written as CR LF.
std::string smSongText(const SmWriteInput& input);

} // namespace quillex
