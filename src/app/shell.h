// The shell's Qt-free half: the settings read at start-up, the key tables, the input
// timer and the command dispatcher, made and started in the order the program needs.
// The Qt main window owns one Shell and forwards its events to it.
#pragma once

#include <string>

#include "app/input_tick.h"
#include "app/dispatcher.h"
#include "app/input_timer.h"
#include "app/key_tables.h"
#include "app/save_flow.h"
#include "app/shell_state.h"
#include "settings/noteskin_settings.h"
#include "settings/options.h"

namespace quillex {

inline constexpr std::string_view kOptionsMissing =
    "options.ini was not found. I will use the default options.";

// Where the settings files live: options.ini, noteskin.ini and backup/ in the working
// folder at start; window.ini beside the program. Both folders are absolute.
struct ShellPaths {
    std::string workingFolder;
    std::string programFolder;

    std::string options() const { return workingFolder + "/options.ini"; }
    std::string noteskins() const { return workingFolder + "/noteskin.ini"; }
    std::string backupFolder() const { return workingFolder + "/backup"; }
    std::string window() const { return programFolder + "/window.ini"; }
};

class Shell {
  public:
    struct Parts {
        ItemStore& store;
        BusyCounter& busy;
        Messages& messages;
        ShellHooks& hooks;
        ShellUi& ui;
        SongFiles& files;
        Transport& transport;
    };
    Shell(Parts parts, ShellPaths paths);
    ~Shell() { timer.stop(); }

    // Start-up after the window exists: the fixed screen regions for the editor's
    // height, the start-up defaults and editing state, options.ini (a "Tip" when it is
    // missing) and noteskin.ini.
    void initialise(int editorHeight);
    // Starts the 1 ms input timer. `postCommand` and `post` hand a command or a task
    // to the main thread, where `events` take what the timer found.
    void startInputTimer(InputTick::Player player, TimerEvents& events,
                         std::function<void(CommandId)> postCommand,
                         std::function<void(std::function<void()>)> post);
    void stopInputTimer() { timer.stop(); }

    const ShellPaths& paths() const { return paths_; }

    ShellState state;
    KeyDownTable keysDown;
    KeyStateTable keyStates;
    Options options;
    NoteskinChoice noteskins;
    SaveFlow saveFlow;
    Dispatcher dispatcher;
    InputFlags inputFlags;
    InputTimer timer;
    std::unique_ptr<InputTick> inputTick;

  private:
    Parts p_;
    ShellPaths paths_;
};

} // namespace quillex
