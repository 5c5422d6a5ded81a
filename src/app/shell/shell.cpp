#include "app/shell/shell.h"

#include <filesystem>

#include "app/commands/command_table.h"

namespace quillex {

Shell::Shell(Parts parts, ShellPaths paths)
    : recentFiles(paths.recentFiles()),
      saveFlow(parts.files, parts.ui, parts.hooks, parts.store, paths.backupFolder()),
      dispatcher(Dispatcher::Parts{parts.store, parts.messages, parts.hooks, parts.ui, parts.files,
                                   parts.transport, saveFlow, state, options, keysDown}),
      p_(parts), paths_(std::move(paths)) {
    dispatcher.fileOpened = [this](const std::string& path) { recentFiles.add(path); };
    saveFlow.songSaved = [this](const std::string& path) { recentFiles.add(path); };
}

void Shell::initialise() {
    ItemStore& store = p_.store;
    store.addScreenRegions();

    // Every layer starts off; loading music or a song switches them on.
    for (Layer layer : {Layer::Wave, Layer::Status, Layer::Beat, Layer::Pause, Layer::Arrow}) {
        store.setLayer(layer, false);
    }
    for (CommandId id : {CommandId::WaveLayer, CommandId::StatusLayer, CommandId::BeatLayer,
                         CommandId::PauseLayer, CommandId::ArrowLayer})
        p_.hooks.setMenuCheck(id, false);
    dispatcher.selectLevel(0);
    store.setLayer(Layer::Arrow, false); // level 0 is current, but the editor starts in sync mode
    p_.hooks.setMenuCheck(CommandId::ArrowLayer, false);
    p_.hooks.setMenuCheck(CommandId::NoteSizeAuto, true);

    keyStates.clear();
    store.setModified(false);
    state.savePromptResult = SavePromptAnswer::Cancel;
    state.active = true;

    if (!readOptions(paths_.options(), options)) {
        p_.messages.show(kOptionsMissing);
        writeOptions(paths_.options(), options); // the notice is for the first start only
    }
    applyOptionsTo(store, options);
    saveFlow.setSaveBackups(options.saveBackups);
    readNoteskins(paths_.noteskins(), noteskins);
    recentFiles.load();
}

void Shell::openRecent(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        p_.messages.show(std::string(kRecentFileMissing) + path);
        recentFiles.remove(path);
        return;
    }
    dispatcher.openPath(path);
}

void Shell::startInputTimer(InputTick::Player player, TimerEvents& events,
                            std::function<void(CommandId)> postCommand,
                            std::function<void(std::function<void()>)> post) {
    inputFlags.alternateKeys[0] = options.alternateKeyLeft;
    inputFlags.alternateKeys[1] = options.alternateKeyDown;
    inputFlags.alternateKeys[2] = options.alternateKeyUp;
    inputFlags.alternateKeys[3] = options.alternateKeyRight;
    // Stopped with no key held, the timer rests; a key event wakes it (MainWindow).
    timer.setRest([this, playing = player.playing] { return !playing() && !keysDown.anyDown(); },
                  std::chrono::milliseconds(50));
    inputTick =
        std::make_unique<InputTick>(p_.busy, state, keysDown, keyStates, std::move(postCommand),
                                    std::move(post), events, inputFlags, std::move(player));
    timer.start(std::chrono::milliseconds(1), [this] { inputTick->tick(); });
}

} // namespace quillex
