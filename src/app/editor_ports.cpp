#include "app/editor_ports.h"

#include "fileio/song_reader.h"
#include "fileio/song_writer.h"

namespace quillex {

namespace {
SongFileContext contextOf(Editor& editor, Song& song) {
    return SongFileContext{song,          editor.store(), editor.meters(),
                           editor.player(), editor.shell(), editor.messages()};
}
} // namespace

bool EditorSongFiles::loadSong(const std::string& path) {
    SongFileContext context = contextOf(editor_, song_);
    return readSong(context, path);
}

bool EditorSongFiles::loadMusic(const std::string& path) {
    song_.reset();
    return editor_.player().loadMusic(path, std::string(), true);
}

void EditorSongFiles::closeSong() {
    editor_.player().unloadMusic();
    song_.reset();
}

bool EditorSongFiles::writeSong(const std::string& path, bool updateTitle, bool perBeatBpm) {
    song_.setPerBeatBpm(perBeatBpm);
    SongFileContext context = contextOf(editor_, song_);
    return quillex::writeSong(context, path, updateTitle);
}

} // namespace quillex
