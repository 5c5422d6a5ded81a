#include "app/session/editor_ports.h"

#include "fileio/song_file_context.h"
#include "fileio/song_paths.h"
#include "fileio/song_reader.h"
#include "fileio/song_writer.h"

namespace quillex {

bool EditorSongFiles::loadSong(const std::string& path) {
    SongFileContext context = songFileContext(editor_);
    context.missingMusic = missingMusic_;
    const bool read = readSong(context, path);
    announceSongPictures(songFolderOf(path));
    return read;
}

bool EditorSongFiles::loadMusic(const std::string& path) {
    editor_.song().reset();
    editor_.song().setFolder(songFolderOf(path));
    const bool loaded = editor_.player().loadMusic(path, std::string(), true);
    announceSongPictures(songFolderOf(path));
    return loaded;
}

void EditorSongFiles::closeSong() {
    editor_.player().unloadMusic();
    editor_.song().reset();
    announceSongPictures(std::string());
}

// The banner is shown as soon as the song names it; the background only once its
// music (or the silence standing in for music not found) has loaded.
void EditorSongFiles::announceSongPictures(const std::string& folder) {
    if (!songPicturesChanged)
        return;
    const SongProperties& properties = editor_.song().properties();
    auto resolved = [&folder](const std::string& name) {
        return name.empty() ? std::string() : resolveSongFile(folder, name);
    };
    songPicturesChanged(resolved(properties.banner), editor_.player().loaded()
                                                         ? resolved(properties.background)
                                                         : std::string());
}

bool EditorSongFiles::writeSong(const std::string& path, bool updateTitle, bool perBeatBpm) {
    editor_.song().setPerBeatBpm(perBeatBpm);
    SongFileContext context = songFileContext(editor_);
    return quillex::writeSong(context, path, updateTitle);
}

} // namespace quillex
