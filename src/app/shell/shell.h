// The shell's Qt-free half: the settings read at start-up, the key tables, the input
// timer and the command dispatcher, made and started in the order the program needs.
// The Qt main window owns one Shell and forwards its events to it.
#pragma once

#include <string>

#include "app/commands/dispatcher.h"
#include "app/input/input_tick.h"
#include "app/input/input_timer.h"
#include "app/keys/key_tables.h"
#include "app/session/save_flow.h"
#include "app/session/shell_state.h"
#include "settings/noteskin_settings.h"
#include "settings/options.h"
#include "settings/recent_files.h"

namespace quillex {

inline constexpr std::string_view kOptionsMissing =
    "options.ini was not found. I will use the default options.";
inline constexpr std::string_view kRecentFileMissing =
    "I could not find this file any more, so I took it off the recent files:\n";

// Where the program keeps its files: the settings (options.ini, noteskin.ini,
// window.ini, the recent files) in the user's configuration folder, the numbered backups in the
// data folder, the crash recovery copy in the state folder, and the read-me beside the program. All
// absolute; a folder is made when a file is first written into it.
struct ShellPaths {
    std::string configFolder;
    std::string dataFolder;
    std::string stateFolder;
    std::string programFolder;

    // Everything in one folder (tests).
    static ShellPaths inFolder(const std::string& folder) {
        return {folder, folder, folder, folder};
    }

    std::string options() const { return configFolder + "/options.ini"; }
    std::string noteskins() const { return configFolder + "/noteskin.ini"; }
    std::string window() const { return configFolder + "/window.ini"; }
    std::string recentFiles() const { return configFolder + "/recent.txt"; }
    std::string backupFolder() const { return dataFolder + "/backup"; }
    std::string recoveryFolder() const { return stateFolder + "/recovery"; }
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

    // Start-up after the window exists: the fixed screen regions (the view gives them
    // their boxes), the start-up defaults and editing state, options.ini (a "Tip" when it is
    // missing, after which the defaults are written so it shows once), noteskin.ini
    // and the recent files.
    void initialise();
    // File ▸ Open Recent: opens `path` as Open does, save-changes question included;
    // a file that is gone gets a message and leaves the list.
    void openRecent(const std::string& path);
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
    RecentFiles recentFiles;
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
