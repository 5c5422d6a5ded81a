// The song-file commands: Open (and dropped files), Close, Save, Save As and Exit,
// each behind the save-changes question where it would lose changes.
#include "app/commands/dispatcher.h"
#include "fileio/open_routing.h"

namespace quillex {

namespace {

constexpr int kBannerLoading = 0;
constexpr int kBannerDone = 2;

} // namespace

void Dispatcher::registerSongFileCommands() {
    registerHandler(CommandId::Open, [this](int) { open(); });
    registerHandler(CommandId::Close, [this](int) { close(); });
    registerHandler(CommandId::Save, [this](int) { save(false); });
    registerHandler(CommandId::SaveAs, [this](int) { save(true); });
    registerHandler(CommandId::Exit, [this](int) { p_.ui.closeWindow(); });
}

void Dispatcher::save(bool asNewFile) {
    // A song saved into another folder names its pictures from there.
    if (asNewFile ? p_.saveFlow.saveAs() : p_.saveFlow.save())
        songFolder_ = songFolderOf(p_.saveFlow.savePath());
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

} // namespace quillex
