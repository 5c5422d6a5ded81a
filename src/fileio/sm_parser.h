// Interpreting the statements of a `.sm` file: tempo changes, stops and charts are
// taken apart here; every other statement goes to the song's tag map.
#pragma once

#include <string_view>
#include <vector>

#include "fileio/sm_timing.h"
#include "model/note_kind.h"
#include "model/tag_map.h"
#include "ports/messages.h"

namespace quillex {

struct SmFileContent {
    SmTimingInput timing; // the offset is filled in from the tags by the caller
    std::vector<ForeignChart> foreignCharts;
};

inline constexpr std::string_view kNotesErrorMessage =
    "I sense an error reading the #NOTES information.  I will try to ignore it.";

// `joinedText` is the file's text as readJoinedText gives it. Each "#NOTES" statement
// that does not have six fields shows the #NOTES message and is skipped.
SmFileContent parseSmText(std::string_view joinedText, TagMap& tags, Messages& messages);

} // namespace quillex
