// The editor's long-lived subsystems, owned in one place. There is no global state:
// the program makes one Editor at start, a test makes a fresh one of its own.
#pragma once

#include <memory>

#include "audio/audio_backend.h"
#include "audio/music_player.h"
#include "audio/wave_view.h"
#include "fileio/song_file_context.h"
#include "items/busy_counter.h"
#include "items/clipboard.h"
#include "items/item_store.h"
#include "items/selection.h"
#include "items/undo_history.h"
#include "model/game_type.h"
#include "model/music_info.h"
#include "model/song.h"
#include "ports/messages.h"
#include "ports/shell_hooks.h"

namespace quillex {

class Editor {
  public:
    // `music` supplies the sample rate and length of the loaded music; `messages`
    // shows the "Tip" boxes. Both must outlive the editor.
    // The player has no decoder and a silent output, the shell hooks do nothing.
    Editor(Messages& messages, const MusicInfo& music);
    // The program's editor: the player decodes and plays through `audio` and is the
    // MusicInfo of the store; `shell` is the window around it. Both must outlive it.
    Editor(Messages& messages, ShellHooks& shell, AudioBackend audio);

    Messages& messages() { return messages_; }
    BusyCounter& busyCounter() { return busy_; }
    ItemStore& store() { return store_; }
    const ItemStore& store() const { return store_; }
    MeterTable& meters() { return meters_; }
    const MeterTable& meters() const { return meters_; }
    ShellHooks& shell() { return shell_; }
    WaveView& waveView() { return waveView_; }
    const WaveView& waveView() const { return waveView_; }
    MusicPlayer& player() { return player_; }
    const MusicPlayer& player() const { return player_; }
    // The song's properties, the tags of its file and its foreign charts.
    Song& song() { return song_; }
    const Song& song() const { return song_; }
    UndoHistory& history() { return history_; }
    OpenEntryFlags& openEntries() { return openEntries_; }
    Clipboard& clipboard() { return clipboard_; }
    RegionSelection& region() { return region_; }
    const RegionSelection& region() const { return region_; }

    // The editable state the undo history keeps: the lists, the play position, the
    // current level and whether note mode is on.
    EditState editState() const;

  private:
    Messages& messages_;
    NullShellHooks noShell_;
    ShellHooks& shell_;
    BusyCounter busy_;
    WaveView waveView_;
    // Made before the store, which reads the music's rate and length from it; the
    // player only keeps a reference to the store until it is used.
    MusicPlayer player_;
    const MusicInfo& music_;
    ItemStore store_;
    MeterTable meters_;
    Song song_;
    UndoHistory history_;
    OpenEntryFlags openEntries_;
    Clipboard clipboard_;
    RegionSelection region_;
};

// What reading and writing the editor's own song touch.
inline SongFileContext songFileContext(Editor& editor) {
    return {editor.song(),   editor.store(), editor.meters(),
            editor.player(), editor.shell(), editor.messages()};
}

} // namespace quillex
