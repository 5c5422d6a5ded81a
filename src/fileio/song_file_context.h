// What reading and writing a song touch: the song's file-facing data, the item store,
// the level meters, the music player (music, preview region, cursor), the window
// around the editor and the "Tip" boxes.
#pragma once

#include "app/editor.h"
#include "app/messages.h"
#include "app/shell_hooks.h"
#include "audio/music_player.h"
#include "audio/player_settings.h"
#include "items/item_store.h"
#include "model/game_type.h"
#include "model/song.h"

namespace quillex {

struct SongFileContext {
    Song& song;
    ItemStore& store;
    MeterTable& meters;
    MusicPlayer& player;
    ShellHooks& shell;
    Messages& messages;
};

// Switches the arrow layer on with its View-menu check, as a read does once the song
// has notes to show.
inline void showArrowLayer(SongFileContext& context) {
    context.store.setLayer(Layer::Arrow, true);
    context.shell.setMenuCheck(command::kArrowLayer, true);
}

// The context of the editor's own song.
inline SongFileContext songFileContext(Editor& editor) {
    return {editor.song(),   editor.store(), editor.meters(),
            editor.player(), editor.shell(), editor.messages()};
}

} // namespace quillex
