// Routes every command to its handler. The shell's own commands (Open, Close, Save,
// Exit, play/pause, level selection) are registered by the dispatcher itself; the
// other subsystems register handlers for theirs. A command with no handler yet is
// unavailable (its menu item greyed). A handler's rules (the sync-mode guard, the undo
// entry committed after it, when it is available) are given when it is registered.
// The definitions are split by job: dispatcher.cpp (the handler registry),
// song_file_commands.cpp (Open, Close, Save, Exit, drops), shell_commands.cpp (play,
// Esc, levels, Sync Mode) and mouse_buttons.cpp (the wheel and the mouse buttons).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/keys/key_tables.h"
#include "app/session/save_flow.h"
#include "app/session/shell_ports.h"
#include "app/session/shell_state.h"
#include "items/item_store.h"
#include "ports/command_id.h"
#include "ports/messages.h"
#include "ports/shell_hooks.h"
#include "settings/options.h"

namespace quillex {

// The sync-mode guard's refusals: commands of beats are refused while the notes are
// being edited (one layer at a time, arrow layer on).
inline constexpr std::string_view kInsertBeatsGuard =
    "To insert beats, first press TAB (or go into Sync Mode) to disable the notes.";
inline constexpr std::string_view kInsertSubBeatsGuard =
    "To insert subbeats, first press TAB (or go into Sync Mode) to disable the notes.";
inline constexpr std::string_view kNudgeGuard =
    "To nudge the beats, first press TAB (or go into Sync Mode) to disable the notes.";
inline constexpr std::string_view kGrowGuard =
    "To grow the beats, first press TAB (or go into Sync Mode) to disable the notes.";

// How the dispatcher treats a command besides running its handler.
struct CommandRules {
    // Shown instead of running the command while the notes are being edited (the
    // sync-mode guard); empty for a command allowed there.
    std::string_view refusedInNoteMode = {};
    // The handler opens its undo entry only once it knows there is something to do;
    // the dispatcher commits it after the handler (not while a recording or drag entry
    // is open).
    bool commitsAfter = false;
    // The command is available only while this returns true; empty: always.
    std::function<bool()> enabledWhen = {};
};

// Mouse buttons and modifier keys held during a wheel turn or a click.
struct MouseKeys {
    bool shift = false;
    bool ctrl = false;
    bool anyButton = false; // a mouse button other than the one of the event
};

class Dispatcher {
  public:
    using Handler = std::function<void(int argument)>;

    struct Parts {
        ItemStore& store;
        Messages& messages;
        ShellHooks& hooks;
        ShellUi& ui;
        SongFiles& files;
        Transport& transport;
        SaveFlow& saveFlow;
        ShellState& shell;
        const Options& options;
        const KeyDownTable& keysDown;
    };
    // Registers the shell's own commands.
    explicit Dispatcher(Parts parts);

    // Runs a command on the main thread.
    void dispatch(CommandId id, int argument = 0);

    // Makes `id` run `handler` under `rules`. Registering again replaces both.
    void registerHandler(CommandId id, Handler handler, CommandRules rules = {});
    // Whether `id` does something now.
    bool available(CommandId id) const;
    // Called when a command has run, e.g. to refresh the menu's enabled state.
    std::function<void(CommandId id)> afterCommand;

    // The undo history: open an entry with a label, commit the entry a handler
    // opened, and whether a recording or drag entry is open (then neither happens).
    std::function<void(std::string_view label)> openUndoEntry = [](std::string_view) {};
    std::function<void()> commitUndoEntry = [] {};
    std::function<bool()> recordingEntryOpen = [] { return false; };
    // Extra work of other subsystems at the points the commands name.
    std::function<void()> endArrowRecording = [] {};
    std::function<void()> resetStatusHighlights = [] {};
    std::function<void(LevelIndex)> levelChanged = [](LevelIndex) {};
    // The status layer's banner: 0 while a file is loaded, 2 when done.
    std::function<void(int mode)> bannerMode = [](int) {};
    // A song or music file was opened (File ▸ Open Recent keeps it), after its load
    // and before the Level Manager shows.
    std::function<void(const std::string& path)> fileOpened = [](const std::string&) {};
    // The same moment, for what follows the music (the wave filter runs on it again).
    std::function<void()> musicOpened = [] {};

    // Opens a file as Open does after its dialog (a start-up argument).
    void openPath(const std::string& path);
    // Files dropped on the window: exactly one is opened, several are ignored.
    void dropFiles(const std::vector<std::string>& paths);
    // A wheel turn by `delta` (120 per notch; positive away from the user).
    void wheel(int delta, MouseKeys keys);
    void rightButtonDown(MouseKeys keys);
    void middleButtonDown(ScreenPoint at);
    void middleButtonUp(ScreenPoint at);

    // The close box or Exit: asks to save a modified song. True when the program
    // may quit; false keeps it open with the song as it was.
    bool confirmQuit();

    // The level shown and edited: arrow layer on, selection cleared, menu marks moved.
    void selectLevel(LevelIndex level);
    // Makes `level` current as selectLevel does, but leaves the layers and every
    // selection as they are (Undo and Redo put back a stored state).
    void showLevel(LevelIndex level);
    LevelIndex currentLevel() const { return p_.store.currentLevel(); }
    // The column keys, '1'..'9' and '0' by default.
    std::array<VirtualKey, 10> columnKeys{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};

    // The folder of the song last opened, with a trailing separator.
    const std::string& songFolder() const { return songFolder_; }

  private:
    struct Registered {
        Handler handler;
        CommandRules rules;
    };
    void registerSongFileCommands();
    void registerShellCommands();
    bool refusedInNoteMode(const CommandRules& rules);
    bool settleChanges();
    void save(bool asNewFile);
    void open();
    // Open after the save prompt: `choosePath` gives the file (the dialog, or a path
    // given from outside), nothing when the user cancels.
    void openFrom(const std::function<std::optional<std::string>()>& choosePath);
    void openChosenPath(const std::string& path);
    void close();
    void playPause();
    void escape();
    void setArrowLayer(bool on);
    bool anyOfFirstColumnKeysDown() const;

    Parts p_;
    std::unordered_map<CommandId, Registered> handlers_;
    std::string songFolder_;
};

} // namespace quillex
