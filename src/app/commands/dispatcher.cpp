#include "app/commands/dispatcher.h"

#include <cstdlib>

#include "app/commands/command_table.h"
#include "fileio/open_routing.h"

namespace quillex {

namespace {

constexpr std::string_view kInsertSubBeatsGuard =
    "To insert subbeats, first press TAB (or go into Sync Mode) to disable the notes.";
constexpr std::string_view kNudgeGuard =
    "To nudge the beats, first press TAB (or go into Sync Mode) to disable the notes.";
constexpr std::string_view kGrowGuard =
    "To grow the beats, first press TAB (or go into Sync Mode) to disable the notes.";
constexpr int kBannerLoading = 0;
constexpr int kBannerDone = 2;

// The guard's message for a command that is refused in note mode, or empty.
std::string_view syncModeGuardMessage(int id) {
    switch (id) {
    case 235:
    case 255:
    case 256:
        return kInsertBeatsGuard;
    case 364:
        return kInsertSubBeatsGuard;
    case 41:
        return kNudgeGuard;
    case 380:
    case 381:
    case 382:
        return kGrowGuard;
    default:
        return {};
    }
}

// The edits whose handler opens its undo entry (once it knows there is something to
// do) and whose entry the dispatcher commits after the handler: Quantize, Delete, the
// beat colours, Lock/Unlock, Turn and Change Note Type.
bool commitsInCommonTail(int id) {
    switch (id) {
    case 4: case 8: case 12: case 16: case 24: case 32: case 48: case 64:
    case 239:
    case 318: case 319: case 322:
    case 386: case 387: case 388: case 389: case 390:
    case 433:
        return true;
    default:
        return false;
    }
}

bool isOwnCommand(int id) {
    switch (static_cast<CommandId>(id)) {
    case CommandId::Open:
    case CommandId::Close:
    case CommandId::Save:
    case CommandId::SaveAs:
    case CommandId::Exit:
    case CommandId::PlayPause:
    case CommandId::Escape:
    case CommandId::PlayFromStart:
    case CommandId::PreviousLevel:
    case CommandId::NextLevel:
    case CommandId::SyncMode:
        return true;
    default:
        return levelOfCommand(id).has_value();
    }
}

} // namespace

void Dispatcher::registerHandler(int id, Handler handler) {
    handlers_[id] = std::move(handler);
    enabledWhen_.erase(id);
}

void Dispatcher::registerHandler(int id, Handler handler, std::function<bool()> enabled) {
    handlers_[id] = std::move(handler);
    enabledWhen_[id] = std::move(enabled);
}

bool Dispatcher::available(int id) const {
    if (isOwnCommand(id))
        return true;
    if (handlers_.count(id) == 0)
        return false;
    const auto enabled = enabledWhen_.find(id);
    return enabled == enabledWhen_.end() || enabled->second();
}

void Dispatcher::dispatch(int id, int argument) {
    if (syncModeGuardRefuses(id))
        return;
    if (!runOwnCommand(id, argument)) {
        auto handler = handlers_.find(id);
        if (handler == handlers_.end())
            return;
        handler->second(argument);
        if (commitsInCommonTail(id) && !recordingEntryOpen())
            commitUndoEntry();
    }
    if (afterCommand)
        afterCommand(id);
}

bool Dispatcher::syncModeGuardRefuses(int id) {
    std::string_view message = syncModeGuardMessage(id);
    if (message.empty() || !p_.store.oneLayerLock())
        return false;
    p_.messages.show(message);
    return true;
}

bool Dispatcher::runOwnCommand(int id, int /*argument*/) {
    if (auto level = levelOfCommand(id)) {
        selectLevel(*level);
        return true;
    }
    switch (static_cast<CommandId>(id)) {
    case CommandId::Open:
        open();
        return true;
    case CommandId::Close:
        close();
        return true;
    case CommandId::Save:
    case CommandId::SaveAs:
        // A song saved into another folder names its pictures from there.
        if (static_cast<CommandId>(id) == CommandId::Save ? p_.saveFlow.save() : p_.saveFlow.saveAs())
            songFolder_ = songFolderOf(p_.saveFlow.savePath());
        return true;
    case CommandId::Exit:
        p_.ui.closeWindow();
        return true;
    case CommandId::PlayPause:
        playPause();
        return true;
    case CommandId::Escape:
        escape();
        return true;
    case CommandId::PlayFromStart:
        dispatch(CommandId::Rewind);
        if (!p_.transport.playing())
            dispatch(CommandId::PlayPause);
        return true;
    case CommandId::PreviousLevel:
        selectLevel(currentLevel() > 0 ? currentLevel() - 1 : 0);
        return true;
    case CommandId::NextLevel:
        selectLevel(currentLevel() < kLevelCount - 1 ? currentLevel() + 1 : kLevelCount - 1);
        return true;
    case CommandId::SyncMode:
        setArrowLayer(false);
        return true;
    default:
        return false;
    }
}

void Dispatcher::setArrowLayer(bool on) {
    p_.store.setLayer(Layer::Arrow, on);
    p_.hooks.setMenuCheck(toInt(CommandId::ArrowLayer), on);
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
