// Loading the music a song names when it is read, and what happens when it does not
// load: the editor offers to locate the file, the command-line tool goes on over
// silence.
#pragma once

#include <string>

#include "fileio/song_file_context.h"

namespace quillex {

// The question asked when the music does not load; `musicPath` is the file looked for
// (empty when the song names none).
std::string missingMusicQuestion(const std::string& musicPath);
// What the tool says once when it goes on without the music.
std::string standInMusicMessage(const std::string& musicPath);

// Loads the music the song's "#MUSIC" tag names in the folder of `songPath`. When it
// does not load, `context.missingMusic` decides: Locate asks (through Messages) whether
// to locate it and shows the Open dialog (through ShellHooks) until a chosen file
// loads or the user declines; a located file marks the song's music as located.
// StandIn loads `standInFrames` frames of silence at kStandInRate (Skip does so at once,
// without looking for the music). False when the song
// has no music.
bool loadSongMusic(SongFileContext& context, const std::string& songPath,
                   SamplePosition standInFrames);

} // namespace quillex
