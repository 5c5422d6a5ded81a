// quillex-tool: reads a song or a music file exactly as the editor opens it and prints
// what it holds, or converts a song to another file. Standard output gets the listing,
// standard error the messages the editor would show in a "Tip" box.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "audio/audio_backend.h"

namespace quillex {

// Exit statuses.
inline constexpr int kToolSuccess = 0;
inline constexpr int kToolFailed = 1;
inline constexpr int kToolUsage = 2;

// `arguments` without the program name. `audio` decodes the music (the program passes
// libsndfile and a silent output; tests pass silent music).
int runSongTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                AudioBackend audio);

} // namespace quillex
