// What the core asks of the window around it: the title, menu check marks, status
// texts, and the other subsystems a load or save touches. The Qt shell implements it;
// tests and the command-line tool use NullShellHooks or a recording fake.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/command_id.h"

namespace quillex {

// The save confirmations the status layer shows fading out.
enum class SaveNotice { SavedAsSm, SavedAsQx, SingleBpm };

class ShellHooks {
  public:
    virtual ~ShellHooks() = default;

    virtual void setWindowTitle(std::string_view title) = 0;
    // Sets or clears the check mark of the menu item with this command id.
    virtual void setMenuCheck(CommandId command, bool checked) = 0;
    // Free text slot of the status layer (slot 0 is free for notices such as a
    // missing audio device).
    virtual void setStatusText(int slot, std::string_view text) = 0;
    // Starts one of the "Saved as" status messages.
    virtual void startSaveNotice(SaveNotice notice) = 0;
    // Draws one frame at once (before and after long operations).
    virtual void drawFrame() = 0;
    // The undo history is emptied (a music load or unload).
    virtual void clearUndoHistory() = 0;
    // The filtered waves are discarded (a music load or unload).
    virtual void discardFilteredWaves() = 0;
    // The practice-mode windows are recomputed for a new sample rate.
    virtual void sampleRateChanged(int sampleRate) = 0;
    // The begin/end region of the selection commands is reset.
    virtual void resetRegion() = 0;

    // Added for the music player; they do nothing unless the shell overrides them.
    // The position bar's range (0 .. length) and whether it takes clicks.
    virtual void setPositionBar(int /*length*/, bool /*enabled*/) {}
    // Height of the editor area in rows (the wave's last row after a load).
    virtual int windowHeight() const { return 0; }
    // Arrow and beat recording: whether it runs, and switching it off (an unload).
    virtual bool recordingOn() const { return false; }
    virtual void switchRecordingOff() {}
    // Queues a command for the main window, such as Record at the music's end.
    virtual void postCommand(CommandId /*command*/) {}
    // The text kept with the program settings for the current song is emptied.
    virtual void clearSongSettingsText() {}
    // Sets a menu item's caption (with the key text after a tab) and whether it can be
    // chosen; from then on its owner, not the shell, keeps it enabled or greyed (the
    // Undo and Redo items).
    virtual void setMenuItem(CommandId /*command*/, std::string_view /*caption*/,
                             bool /*enabled*/) {}
    // The Open dialog for a song's music, in `folder` and showing music files; the
    // chosen file, or nothing when the user cancels (or there is no window).
    virtual std::optional<std::string> askMusicFile(const std::string& /*folder*/) {
        return std::nullopt;
    }
};

// Does nothing; for tests and tools that have no window.
class NullShellHooks : public ShellHooks {
  public:
    void setWindowTitle(std::string_view) override {}
    void setMenuCheck(CommandId, bool) override {}
    void setStatusText(int, std::string_view) override {}
    void startSaveNotice(SaveNotice) override {}
    void drawFrame() override {}
    void clearUndoHistory() override {}
    void discardFilteredWaves() override {}
    void sampleRateChanged(int) override {}
    void resetRegion() override {}
};

} // namespace quillex
