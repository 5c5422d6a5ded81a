// The program's one top-level window: it builds the menu bar from the command table,
// turns key, mouse, wheel, drop, resize and close events into shell calls, shows the
// shell's dialogs, and runs the frame loop. The logic behind all of it is the Shell.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/commands/autosync_commands.h"
#include "app/commands/edit_commands.h"
#include "app/input/mouse_editing.h"
#include "app/session/editor.h"
#include "app/session/editor_ports.h"
#include "app/session/recovery.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/shell.h"
#include "app/window/box_messages.h"
#include "app/window/dialogs/edit_dialogs.h"
#include "app/window/dialogs/sync_dialogs.h"
#include "app/window/idle_frames.h"
#include "app/window/sonogram_commands.h"
#include "app/window/suggest_tempo_commands.h"
#include "app/window/wave_filter_commands.h"
#include "settings/window_settings.h"

class QAction;

namespace quillex {

class EditorView;
class Renderer;
class EditorSurface;
class DialogCommands;
class RecentMenu;

class MainWindow : public QMainWindow, public ShellHooks, public ShellUi {
    Q_OBJECT
  public:
    // `dataFolder` holds graphics/ for the editor's drawing; an empty one gives a plain
    // surface without drawing (tests).
    MainWindow(ShellPaths paths, const QString& dataFolder);
    ~MainWindow() override;

    // Start-up: the editor's pictures, then the window is shown (maximised or in its
    // set geometry), then the settings, the input timer and the Open command, or
    // `file` opened directly when one was given. False, with the window never shown,
    // when the pictures could not be loaded: the program then ends.
    bool start(const QString& file, bool maximised = false);
    // Quits after this many frames (0: never); for the smoke test.
    void setFrameLimit(int frames) { frameLimit_ = frames; }
    // Unattended runs print the "Tip" messages instead of waiting on them and close
    // the dialogs (the Level Manager after a song is read, say) as soon as they show.
    void setUnattended(bool on) {
        messages_.setUnattended(on);
        setDialogsUnattended(on);
    }
    void setDialogsUnattended(bool on);

    Shell& shell() { return *shell_; }
    Editor& editor() { return *editor_; }
    EditorView& view() { return *view_; }
    const WaveFilterCommands& waveFilter() const { return *waveFilter_; }
    QAction* action(CommandId id) const { return actions_.value(toInt(id), nullptr); }
    RecentMenu& recentMenu() { return *recentMenu_; }
    int framesDrawn() const { return framesDrawn_; }
    // One pass of the frame loop as its timer runs it, drawn at once: tests send their
    // events between such frames, as a person's arrive between the timer's ticks.
    void stepFrame();
    RecoveryCopy& recovery() { return *recovery_; }
    // The window's geometry as window.ini stores it.
    WindowGeometry currentGeometry() const;

    // ShellHooks
    void setWindowTitle(std::string_view title) override;
    void setMenuCheck(CommandId command, bool checked) override;
    void setStatusText(int slot, std::string_view text) override;
    void startSaveNotice(SaveNotice notice) override;
    void drawFrame() override;
    void clearUndoHistory() override {
        if (editCommands_)
            editCommands_->clearHistory();
    }
    void discardFilteredWaves() override {
        if (waveFilter_)
            waveFilter_->discard();
        if (spectrogram_)
            spectrogram_->discard();
    }
    void sampleRateChanged(int) override {}
    void switchRecordingOff() override {
        if (keyboard_)
            keyboard_->recording().abandon();
    }
    void resetRegion() override {
        if (editor_)
            editor_->region().reset();
    }
    int windowHeight() const override;
    void postCommand(CommandId command) override;
    void setPositionBar(int length, bool enabled) override;
    void setMenuItem(CommandId command, std::string_view caption, bool enabled) override;
    std::optional<std::string> askMusicFile(const std::string& folder) override;

    // ShellUi
    std::optional<std::string> askOpenPath() override;
    std::optional<SaveTarget> askSavePath(const SaveTarget& start) override;
    SavePromptAnswer askToSaveChanges(const std::string& songName) override;
    void closeWindow() override { close(); }
    void setWaitCursor(bool waiting) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildMenus();
    void refreshEnabledCommands();
    bool handleKey(QObject* watched, QKeyEvent* event);
    // The key table the input timer polls, with the side-less Shift and Ctrl.
    void recordKey(VirtualKey key, bool down);
    bool handleEditorMouse(QEvent* event);
    void frameUpdate();
    void layoutChanged();
    void updateEditorScreenRect();
    void updateSuspended();
    void returnFocusToEditor();
    void countFrame();

    BoxMessages messages_;
    std::unique_ptr<Editor> editor_;
    std::unique_ptr<EditorSongFiles> files_;
    std::unique_ptr<PlayerTransport> transport_;
    std::unique_ptr<Shell> shell_;
    QtEditQuestions editQuestions_{this};
    std::unique_ptr<EditCommands> editCommands_;
    QtSyncDialogs syncDialogs_{this, messages_};
    std::unique_ptr<SyncCommands> syncCommands_;
    std::unique_ptr<AutosyncCommands> autosync_;
    std::unique_ptr<SuggestTempoCommands> suggestTempo_;
    std::unique_ptr<KeyboardInput> keyboard_;
    std::unique_ptr<DialogCommands> dialogCommands_;
    std::unique_ptr<WaveFilterCommands> waveFilter_;
    std::unique_ptr<SpectrogramCommands> spectrogram_;
    std::unique_ptr<EditorView> view_;
    std::unique_ptr<MouseEditing> mouse_;
    std::vector<std::pair<int, std::string>> earlyStatusTexts_;
    std::unique_ptr<Renderer> renderer_;
    QString dataFolder_;
    QWidget* editorWidget_ = nullptr;
    EditorSurface* surface_ = nullptr; // the drawing widget, when there are pictures
    QHash<int, QAction*> actions_;
    RecentMenu* recentMenu_ = nullptr; // owned by the Open action
    QSet<int> ownerEnabled_;           // items whose enabled state their owner keeps
    QTimer frameTimer_;
    IdleFrames idle_;
    std::unique_ptr<RecoveryCopy> recovery_;
    QTimer recoveryTimer_;
    QTimer settleTimer_;
    bool minimised_ = false;
    bool blocked_ = false;
    bool closing_ = false;
    int frameLimit_ = 0;
    int framesDrawn_ = 0;
};

} // namespace quillex
