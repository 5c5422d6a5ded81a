// The text of a `.sm` song file (also the content of the own `.qx` song file): the
// header from the song's properties, one BPM per beat interval or one for the song,
// the pauses as stops with their rows taken out of the chart, the statements kept as
// read, and the charts in the order read: each level measure by measure and each chart
// kept as read with its notes as read (one with timing of its own is left out).
#pragma once

#include <string>
#include <string_view>

#include "fileio/sm_file_layout.h"

namespace quillex {

// The whole file, line breaks written as CR LF.
std::string smSongText(const SmWriteInput& input);

} // namespace quillex
