// The windowless editor quillex-tool's commands run on: messages go to standard error
// one per line, and a file is opened exactly as the Open command opens it.
#pragma once

#include <ostream>
#include <string>

#include "app/session/editor.h"
#include "app/session/editor_ports.h"

namespace quillex {

// The "Tip" boxes of the editor, one per line on standard error. A question is
// printed too and answered No, unless the command was told to answer Yes.
class StreamMessages : public Messages {
  public:
    explicit StreamMessages(std::ostream& err) : err_(err) {}
    void show(std::string_view text, std::string_view) override { err_ << text << '\n'; }
    bool ask(std::string_view question, std::string_view caption) override {
        show(question, caption);
        return answerYes;
    }
    bool answerYes = false;

  private:
    std::ostream& err_;
};

// An editor with no window that reports its messages on `err`, as the tool runs it.
// Commands that need no sound go on over silence when a song's music does not load.
struct ToolEditor {
    ToolEditor(std::ostream& err, AudioBackend audio, MissingMusic missingMusic)
        : messages(err), editor(messages, shell, std::move(audio)), files(editor) {
        files.setMissingMusic(missingMusic);
    }
    StreamMessages messages;
    NullShellHooks shell;
    Editor editor;
    EditorSongFiles files;
};

// Opens a file as the Open command does. False when nothing usable was loaded.
bool openFile(Editor& editor, EditorSongFiles& files, const std::string& path, std::ostream& err);

} // namespace quillex
