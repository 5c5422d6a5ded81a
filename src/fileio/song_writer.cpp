#include "fileio/song_writer.h"

#include <vector>

#include "fileio/file_replacement.h"
#include "fileio/qxx_companion.h"
#include "fileio/qxx_pair_check.h"
#include "fileio/sm_losses.h"
#include "fileio/sm_writer.h"
#include "fileio/song_paths.h"
#include "fileio/ssc_writer.h"

namespace quillex {

bool writeSong(SongFileContext& context, const std::string& path, bool updateTitle) {
    if (context.store.beats().size() < 2) {
        context.messages.show(kTooFewBeatsMessage);
        return false;
    }
    const MusicPlayer& player = context.player;
    // Names relative to the folder written to, so that a song saved elsewhere still
    // finds its music and pictures.
    SongProperties& properties = context.song.properties();
    const std::string folder = songFolderOf(path);
    // A song without music names none (a relative name of "" would be the folder).
    const SongFileNames names{
        player.musicPath().empty() ? std::string() : songRelativeName(folder, player.musicPath()),
        relocatedSongName(context.song.folder(), properties.banner, folder),
        relocatedSongName(context.song.folder(), properties.background, folder)};
    const SmWriteInput input{
        context.song,        context.store,         context.meters,      player.musicPath(),
        player.sampleRate(), player.previewStart(), player.previewEnd(), &names};
    const std::string_view extension = extensionOf(path);
    const bool ownFormat = extension == ".qx";
    if (extension == ".sm") {
        const std::vector<std::string> losses = smLosses(context.song, context.store);
        if (!losses.empty() && !context.messages.ask(smLossQuestion(losses)))
            return false;
    }

    std::vector<FileContent> files{
        {path, extension == ".ssc" ? sscSongText(input) : smSongText(input)}};
    if (ownFormat) {
        files.push_back(
            {companionPathOf(path),
             companionText(
                 context.store, context.meters, player.previewStart(), player.previewEnd(),
                 player.position(), context.song.beatsBeforeFirstMarker(), context.song.kept(),
                 player.silent() && context.song.timedInSeconds() ? player.sampleRate() : 0)});
        files[0].text = withCompanionCheck(std::move(files[0].text), files[1].text);
    }
    std::string error;
    if (!replaceFiles(files, error)) {
        context.messages.show(error);
        return false;
    }

    if (!updateTitle)
        return true;
    // The song now lives in the new folder (backups do not move it).
    properties.banner = names.banner;
    properties.background = names.background;
    context.song.setFolder(folder);
    const std::string& title = context.song.properties().title;
    context.shell.setWindowTitle("quillex - [" + (title.empty() ? path : title) + "]");
    if (extension == ".sm") {
        context.shell.startSaveNotice(SaveNotice::SavedAsSm);
        if (!context.song.perBeatBpm())
            context.shell.startSaveNotice(SaveNotice::SingleBpm);
    } else if (ownFormat) {
        context.shell.startSaveNotice(SaveNotice::SavedAsQx);
    }
    return true;
}

} // namespace quillex
