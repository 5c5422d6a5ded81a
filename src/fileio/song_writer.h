// Saving a song: the `.ssc` text for a name ending in ".ssc", the `.sm` text for any
// other name, and for a name ending in ".qx" the companion file beside it; the window
// title and the "Saved as" notices for saves the user asked for.
#pragma once

#include <string>
#include <string_view>

#include "fileio/song_file_context.h"

namespace quillex {

inline constexpr std::string_view kTooFewBeatsMessage =
    "quillex cannot save the file, or there is not enough data to save.\n"
    "You need to place at least two beats to save this file.";

// Writes the song to `path`; the format follows the extension (".qx" adds the
// companion). A ".sm" save of a song with what a `.sm` file cannot hold asks first and
// writes nothing when the answer is No. `updateTitle` is true for the user's saves and
// false for backups: it decides whether the window title and the status notices
// change. False, with a
// message, when the song has fewer than two beat markers or a file could not be
// written; the files already on disk are then left as they were.
bool writeSong(SongFileContext& context, const std::string& path, bool updateTitle);

} // namespace quillex
