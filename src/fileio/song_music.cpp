#include "fileio/song_music.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "fileio/song_paths.h"

namespace quillex {

std::string missingMusicQuestion(const std::string& musicPath) {
    const std::string what = musicPath.empty() ? std::string("This song names no music file.")
                                               : "I did not find a proper music file: " + musicPath;
    return what + "\nDo you want to locate it?  If not, I'll keep the song and its charts on a "
                  "silent timeline as long as the last note; you can give the music later in "
                  "Properties.";
}

std::string standInMusicMessage(const std::string& musicPath) {
    std::error_code error;
    const std::string what =
        musicPath.empty()
            ? std::string("This song names no music file")
            : "The music file " + musicPath +
                  (std::filesystem::exists(musicPath, error) ? " did not load" : " was not found");
    return what + "; going on without it, with sample positions at " +
           std::to_string(kStandInRate) + " Hz.";
}

bool loadSongMusic(SongFileContext& context, const std::string& songPath,
                   SamplePosition standInFrames) {
    const std::string& named = context.song.tags().first("#MUSIC");
    const std::string folder = songFolderOf(songPath);
    // A song without a name would otherwise "find" its own folder.
    const std::string musicPath = named.empty() ? std::string() : resolveSongFile(folder, named);
    if (context.missingMusic == MissingMusic::Skip)
        return context.player.loadSilence(musicPath, kStandInRate, standInFrames);
    if (!musicPath.empty() && context.player.loadMusic(musicPath, songPath, false))
        return true;
    if (context.missingMusic == MissingMusic::StandIn) {
        context.messages.show(standInMusicMessage(musicPath));
        return context.player.loadSilence(musicPath, kStandInRate, standInFrames);
    }
    std::string lookedFor = musicPath;
    while (context.messages.ask(missingMusicQuestion(lookedFor))) {
        const std::optional<std::string> chosen = context.shell.askMusicFile(folder);
        if (!chosen)
            break;
        if (context.player.loadMusic(*chosen, songPath, false)) {
            context.song.setMusicLocated(true);
            return true;
        }
        lookedFor = *chosen;
    }
    // Declined: the song keeps its charts over silence and still names its music.
    return context.player.loadSilence(musicPath, kStandInRate, standInFrames);
}

SamplePosition scaledSample(SamplePosition sample, double factor) {
    const double scaled = std::round(static_cast<double>(sample) * factor);
    return static_cast<SamplePosition>(std::clamp(scaled, double{INT32_MIN}, double{INT32_MAX}));
}

namespace {

// The snapshot's items with their samples scaled; the refresh times everything else
// from the markers.
void scaleSamples(ItemSnapshot& items, double factor) {
    if (factor == 1.0)
        return;
    for (EditItem& beat : items.beats.edit())
        beat.sample = scaledSample(beat.sample, factor);
}

} // namespace

bool giveSongMusic(SongFileContext& context, const std::string& path) {
    MusicPlayer& player = context.player;
    ItemSnapshot items = context.store.snapshot();
    const bool wasSilent = player.silent();
    const std::string oldPath = player.musicPath();
    const int oldRate = player.sampleRate();
    const SamplePosition oldLength = player.musicLength();
    const int previewStart = player.previewStart();
    const int previewEnd = player.previewEnd();
    const bool modified = context.store.modified();

    const bool loaded = player.loadMusic(path, std::string(), false);
    if (!loaded && !(wasSilent ? player.loadSilence(oldPath, oldRate, oldLength)
                               : player.loadMusic(oldPath, std::string(), false)))
        return false;
    // Markers timed in seconds keep their times at the new rate; a `.qx` song's samples
    // over silence are already its music's.
    const bool keepSamples = wasSilent && !context.song.timedInSeconds();
    const double factor = keepSamples ? 1.0 : static_cast<double>(player.sampleRate()) / oldRate;
    scaleSamples(items, factor);
    context.store.restore(items);
    context.store.refresh();
    player.setPreviewStart(scaledSample(previewStart, factor));
    player.setPreviewEnd(scaledSample(previewEnd, factor));
    showArrowLayer(context);
    context.store.setModified(loaded || modified);
    if (loaded) {
        context.song.setMusicLocated(true);
        context.song.setTimedInSeconds(true);
    }
    return loaded;
}

bool chooseSongMusic(SongFileContext& context) {
    const std::optional<std::string> chosen = context.shell.askMusicFile(context.song.folder());
    return chosen && giveSongMusic(context, *chosen);
}

} // namespace quillex
