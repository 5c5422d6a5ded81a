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

// Silent music and an editor over it, its window hooks recording the menu.
struct SilentEditor {
    SilentMusicFormat music;
    RecordingMessages messages;
    MenuRecordingShell shell;
    Editor editor{messages, shell, silentMusicBackend(music)};
};

struct EditingFixture : SilentEditor, FakedShell {
    explicit EditingFixture(std::int64_t musicFrames = 44100 * 10)
        : FakedShell(editor.store(), messages, shell) {
        music.frames = musicFrames;
        shell.onClear = [this] { commands.clearHistory(); };
        commands.registerAll();
    }

    AnsweringQuestions questions;
    EditCommands commands{editor, dispatcher, questions};
};

} // namespace quillex::test
