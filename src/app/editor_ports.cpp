#include "app/editor_ports.h"

#include "fileio/song_file_context.h"
#include "fileio/song_reader.h"
#include "fileio/song_writer.h"

namespace quillex {

bool EditorSongFiles::loadSong(const std::string& path) {
    SongFileContext context = songFileContext(editor_);
    return readSong(context, path);
}

bool EditorSongFiles::loadMusic(const std::string& path) {
    editor_.song().reset();
    return editor_.player().loadMusic(path, std::string(), true);
}

void EditorSongFiles::closeSong() {
    editor_.player().unloadMusic();
    editor_.song().reset();
}

bool EditorSongFiles::writeSong(const std::string& path, bool updateTitle, bool perBeatBpm) {
    editor_.song().setPerBeatBpm(perBeatBpm);
    SongFileContext context = songFileContext(editor_);
    return quillex::writeSong(context, path, updateTitle);
}

} // namespace quillex
