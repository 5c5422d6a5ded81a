// An editor as the window drives it, without the window: silent music, the dispatcher
// with fakes for the files, dialogs and transport, the edit commands answering every
// confirmation with yes, and the menu items and history clearing recorded.
#pragma once

#include <map>
#include <string>

#include "app/commands/edit_commands.h"
#include "audio/fake_audio.h"
#include "fileio/silent_music.h"
#include "shell_fakes.h"

namespace quillex::test {

class MenuRecordingShell : public RecordingShell {
  public:
    void setMenuItem(CommandId id, std::string_view caption, bool enabled) override {
        menuItems[id] = {std::string(caption), enabled};
    }
    void clearUndoHistory() override {
        if (onClear)
            onClear();
    }
    std::string caption(CommandId id) { return menuItems[id].first; }
    bool enabled(CommandId id) { return menuItems[id].second; }
    std::map<CommandId, std::pair<std::string, bool>> menuItems;
    std::function<void()> onClear;
};

class AnsweringQuestions : public EditQuestions {
  public:
    bool confirmClearHistory(std::string_view text) override {
        asked = std::string(text);
        return true;
    }
    bool confirmScale(std::string_view) override { return true; }
    std::string asked;
};

struct EditingFixture {
    explicit EditingFixture(std::int64_t musicFrames = 44100 * 10) {
        music.frames = musicFrames;
        shell.onClear = [this] { commands.clearHistory(); };
        commands.registerAll();
    }

    SilentMusicFormat music;
    RecordingMessages messages;
    MenuRecordingShell shell;
    Editor editor{messages, shell, silentMusicBackend(music)};
    FakeUi ui;
    FakeFiles files;
    FakeTransport transport;
    SaveFlow saveFlow{files, ui, shell, editor.store(), "/nonexistent/backup"};
    ShellState state;
    Options options;
    KeyDownTable keys;
    Dispatcher dispatcher{
        {editor.store(), messages, shell, ui, files, transport, saveFlow, state, options, keys}};
    AnsweringQuestions questions;
    EditCommands commands{editor, dispatcher, questions};
};

} // namespace quillex::test
