#include "fileio/song_music.h"

#include <filesystem>

#include "fileio/song_paths.h"

namespace quillex {

std::string missingMusicQuestion(const std::string& musicPath) {
    const std::string what = musicPath.empty() ? std::string("This song names no music file.")
                                               : "I did not find a proper music file: " + musicPath;
    return what + "\nDo you want to locate it?  If not, I'll start with a blank editor.";
}

std::string standInMusicMessage(const std::string& musicPath) {
    std::error_code error;
    const std::string what =
        musicPath.empty() ? std::string("This song names no music file")
                          : "The music file " + musicPath +
                                (std::filesystem::exists(musicPath, error) ? " did not load"
                                                                           : " was not found");
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
            return false;
        if (context.player.loadMusic(*chosen, songPath, false)) {
            context.song.setMusicLocated(true);
            return true;
        }
        lookedFor = *chosen;
    }
    return false;
}

} // namespace quillex
