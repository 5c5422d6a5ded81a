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
// loads or the user declines; a located file marks the song's music as located, and
// declining keeps the song over `standInFrames` frames of silence at kStandInRate.
// StandIn loads that silence after saying so (Skip does so at once, without looking
// for the music). False when not even the silence loads.
bool loadSongMusic(SongFileContext& context, const std::string& songPath,
                   SamplePosition standInFrames);

// Gives the open song the music file `path` in place of what it plays over now (the
// silence of music that was not found, or other music): the markers, stretches and
// notes stay, every marker at its time in seconds (its sample scaled to the new
// music's rate), and the song names the file when saved. When the file does not load,
// the reason has been shown, the song is kept over its old sound, and the result is
// false.
bool giveSongMusic(SongFileContext& context, const std::string& path);

// A sample counted at one rate, moved to another by `factor` (new rate / old) so that
// it keeps its time; rounded, and held within a sample position's range.
SamplePosition scaledSample(SamplePosition sample, double factor);
// Asks for a music file in the song's folder (through ShellHooks) and gives it; false
// when none is chosen or it does not load.
bool chooseSongMusic(SongFileContext& context);

} // namespace quillex
