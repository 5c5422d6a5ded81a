#include "app/commands/dispatcher.h"

#include <cstdlib>

#include "app/commands/command_table.h"
#include "fileio/open_routing.h"

namespace quillex {

namespace {

constexpr int kBannerLoading = 0;
constexpr int kBannerDone = 2;

} // namespace

Dispatcher::Dispatcher(Parts parts) : p_(parts) {
    registerSongFileCommands();
    registerShellCommands();
}

void Dispatcher::registerHandler(CommandId id, Handler handler, CommandRules rules) {
    handlers_[id] = Registered{std::move(handler), std::move(rules)};
}

bool Dispatcher::available(CommandId id) const {
    const auto found = handlers_.find(id);
    if (found == handlers_.end())
        return false;
    const auto& enabledWhen = found->second.rules.enabledWhen;
    return !enabledWhen || enabledWhen();
}

void Dispatcher::dispatch(CommandId id, int argument) {
    const auto found = handlers_.find(id);
    if (found == handlers_.end())
        return;
    const Registered& command = found->second;
    if (refusedInNoteMode(command.rules))
        return;
    const bool commitsAfter = command.rules.commitsAfter;
    command.handler(argument);
    if (commitsAfter && !recordingEntryOpen())
        commitUndoEntry();
    if (afterCommand)
        afterCommand(id);
}

bool Dispatcher::refusedInNoteMode(const CommandRules& rules) {
    if (rules.refusedInNoteMode.empty() || !p_.store.oneLayerLock())
        return false;
    p_.messages.show(rules.refusedInNoteMode);
    return true;
}

void Dispatcher::registerSongFileCommands() {
    registerHandler(CommandId::Open, [this](int) { open(); });
    registerHandler(CommandId::Close, [this](int) { close(); });
    registerHandler(CommandId::Save, [this](int) { save(false); });
    registerHandler(CommandId::SaveAs, [this](int) { save(true); });
    registerHandler(CommandId::Exit, [this](int) { p_.ui.closeWindow(); });
}

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

void Dispatcher::save(bool asNewFile) {
    // A song saved into another folder names its pictures from there.
    if (asNewFile ? p_.saveFlow.saveAs() : p_.saveFlow.save())
        songFolder_ = songFolderOf(p_.saveFlow.savePath());
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

bool Dispatcher::settleChanges() {
    if (!p_.store.modified())
        return true;
    p_.shell.savePromptResult = p_.ui.askToSaveChanges(p_.saveFlow.promptName());
    switch (p_.shell.savePromptResult) {
    case SavePromptAnswer::Yes:
        // Going on after a save that did not happen would lose the changes.
        p_.saveFlow.save();
        return !p_.store.modified();
    case SavePromptAnswer::No:
        p_.store.setModified(false);
        return true;
    case SavePromptAnswer::Cancel:
        return false;
    }
    return false;
}

bool Dispatcher::confirmQuit() {
    return settleChanges();
}

void Dispatcher::open() {
    openFrom([this] { return p_.ui.askOpenPath(); });
}

void Dispatcher::openPath(const std::string& path) {
    openFrom([&path] { return std::optional<std::string>(path); });
}

void Dispatcher::openFrom(const std::function<std::optional<std::string>()>& choosePath) {
    p_.shell.middleAutoscroll = false;
    songFolder_.clear();
    if (!settleChanges())
        return;
    p_.transport.stopPlayback();
    if (std::optional<std::string> path = choosePath())
        openChosenPath(*path);
    resetStatusHighlights();
}

void Dispatcher::openChosenPath(const std::string& path) {
    songFolder_ = songFolderOf(path);
    const OpenKind kind = openKindOf(path);
    if (kind == OpenKind::Companion) {
        p_.messages.show(kCompanionRefusedMessage);
        return;
    }
    if (kind == OpenKind::Unsupported) {
        p_.messages.show(kUnsupportedFileMessage);
        return;
    }

    p_.ui.setWaitCursor(true);
    bannerMode(kBannerLoading);
    p_.hooks.drawFrame();
    const bool isSong = kind == OpenKind::Song;
    const bool opened = isSong ? p_.files.loadSong(path) : p_.files.loadMusic(path);
    p_.ui.setWaitCursor(false);
    bannerMode(kBannerDone);
    p_.hooks.drawFrame();
    if (opened && isSong)
        p_.saveFlow.songOpened(path, extensionOf(path) == ".qx");
    else
        p_.saveFlow.songOpened("", false);
    // A song whose music the user had to locate now names another file: it is changed.
    p_.store.setModified(opened && isSong && p_.files.musicLocated());
    if (opened) {
        fileOpened(path);
        musicOpened();
    }
    if (isSong)
        dispatch(CommandId::LevelManager);
}

void Dispatcher::dropFiles(const std::vector<std::string>& paths) {
    if (paths.size() != 1)
        return;
    openPath(paths.front());
}

void Dispatcher::close() {
    if (!settleChanges())
        return;
    p_.transport.stopPlayback();
    p_.files.closeSong();
    p_.saveFlow.songOpened("", false);
    p_.store.setModified(false);
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

bool Dispatcher::anyOfFirstColumnKeysDown() const {
    for (int i = 0; i < 4; ++i)
        if (p_.keysDown.isDown(columnKeys[static_cast<size_t>(i)]))
            return true;
    return false;
}

void Dispatcher::wheel(int delta, MouseKeys keys) {
    const int notches = delta / 120;
    if (notches == 0 || keys.anyButton)
        return;
    const bool earlier = notches > 0;
    if (!keys.shift && !keys.ctrl) {
        const bool bySnap = p_.transport.snapSet() && p_.store.beats().size() >= 2;
        CommandId step = bySnap ? (earlier ? CommandId::PreviousRow : CommandId::NextRow)
                                : (earlier ? CommandId::PageUp : CommandId::PageDown);
        for (int i = 0; i < std::abs(notches); ++i)
            dispatch(step);
        return;
    }
    if (keys.shift && keys.ctrl)
        return;
    // Holding a column key and turning the wheel draws a hold: no nudging or growing.
    if (anyOfFirstColumnKeysDown())
        return;
    if (keys.shift)
        dispatch(CommandId::Nudge, earlier ? 3 : 0);
    else
        dispatch(earlier ? CommandId::QuickShrink : CommandId::QuickGrow);
}

void Dispatcher::rightButtonDown(MouseKeys keys) {
    CommandId zoom =
        keys.shift && !keys.ctrl && !keys.anyButton ? CommandId::ZoomOut : CommandId::ZoomIn;
    dispatch(zoom);
    dispatch(zoom);
}

void Dispatcher::middleButtonDown(ScreenPoint at) {
    if (p_.options.mmbInsertBeat) {
        dispatch(CommandId::InsertBeat); // the guard applies as for the command
        return;
    }
    p_.shell.middleAutoscroll = !p_.shell.middleAutoscroll;
    p_.shell.middleAnchor = at;
}

void Dispatcher::middleButtonUp(ScreenPoint at) {
    if (!p_.options.mmbInsertBeat && at.y != p_.shell.middleAnchor.y)
        p_.shell.middleAutoscroll = false;
}

} // namespace quillex
