// The shell's own commands besides the song files: play/pause, Esc, play from the
// start, the level items and the level steps, and Sync Mode.
#include "app/commands/command_table.h"
#include "app/commands/dispatcher.h"

namespace quillex {

void Dispatcher::registerShellCommands() {
    registerHandler(CommandId::PlayPause, [this](int) { playPause(); });
    registerHandler(CommandId::Escape, [this](int) { escape(); });
    registerHandler(CommandId::PlayFromStart, [this](int) {
        dispatch(CommandId::Rewind);
        if (!p_.transport.playing())
            dispatch(CommandId::PlayPause);
    });
    registerHandler(CommandId::PreviousLevel,
                    [this](int) { selectLevel(currentLevel() > 0 ? currentLevel() - 1 : 0); });
    registerHandler(CommandId::NextLevel, [this](int) {
        selectLevel(currentLevel() < kLevelCount - 1 ? currentLevel() + 1 : kLevelCount - 1);
    });
    registerHandler(CommandId::SyncMode, [this](int) { setArrowLayer(false); });
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        registerHandler(levelCommandId(level), [this, level](int) { selectLevel(level); });
}

void Dispatcher::setArrowLayer(bool on) {
    p_.store.setLayer(Layer::Arrow, on);
    p_.hooks.setMenuCheck(CommandId::ArrowLayer, on);
}

void Dispatcher::selectLevel(LevelIndex level) {
    setArrowLayer(true);
    if (!isValidLevel(level))
        return;
    p_.store.clearAllSelection();
    showLevel(level);
}

void Dispatcher::showLevel(LevelIndex level) {
    if (!isValidLevel(level))
        return;
    p_.hooks.setMenuCheck(levelCommandId(p_.store.currentLevel()), false);
    p_.store.setCurrentLevel(level); // also the column count, regions and note times
    p_.hooks.setMenuCheck(levelCommandId(level), true);
    levelChanged(level);
}

void Dispatcher::playPause() {
    if (p_.transport.playing()) {
        p_.transport.stopPlayback();
        endArrowRecording();
    } else {
        p_.transport.startPlayback();
    }
    p_.store.refresh();
}

void Dispatcher::escape() {
    resetStatusHighlights();
    if (p_.transport.playing())
        playPause();
    else
        dispatch(CommandId::NoSnap);
}

} // namespace quillex
