// The Edit menu's commands on the song: Undo, Redo and Clear History, the selection
// commands, the clipboard, and the note transforms with their confirmations. They work
// through the Editor's history, clipboard and region and the dispatcher's conventions
// (the common tail opens and commits the undo entries it names).
#pragma once

#include <string_view>

#include "app/commands/dispatcher.h"
#include "app/session/editor.h"

namespace quillex {

// The confirmations these commands ask for; the Qt shell shows dialogs, tests answer.
class EditQuestions {
  public:
    virtual ~EditQuestions() = default;
    // The Clear History dialog with its text; true for "Yes".
    virtual bool confirmClearHistory(std::string_view text) = 0;
    // The Scale Notes warning; true for OK.
    virtual bool confirmScale(std::string_view text) = 0;
};

// "The Undo/Redo History has N item(s), M active.\n…"
std::string clearHistoryText(std::size_t allocated, std::size_t active);

class EditCommands {
  public:
    EditCommands(Editor& editor, Dispatcher& dispatcher, EditQuestions& questions);

    // Registers the handlers and takes over the dispatcher's undo hooks.
    void registerAll();
    // The Undo and Redo captions and greying from the history.
    void updateUndoMenu();
    // The history is emptied (Close, any load of music or a song).
    void clearHistory();
    // Whether an edit command is available now (Paste only with something to paste).
    bool pasteAvailable() const { return editor_.clipboard().holdsSomething(); }

    // Extra grouping state other parts keep (a grouped nudge or grow), reset by Undo,
    // Redo and Clear like the Editor's open recording and drag entries; Undo and Redo
    // do nothing while a recording or drag runs or this reports busy.
    std::function<bool()> recordingOrDragging = [] { return false; };
    std::function<void()> resetEditFlags = [] {};

  private:
    void registerHistory();
    void registerSelection();
    void registerClipboard();
    void registerTransforms();
    void restore(const EditState& state);
    void openEntry(std::string_view label);
    void commitEntry();
    // Runs a transform inside its own undo entry; shows `refusal` when nothing qualifies.
    void bracketed(std::string_view label, bool ready, std::string_view refusal,
                   const std::function<void()>& edit);

    Editor& editor_;
    Dispatcher& dispatcher_;
    EditQuestions& questions_;
};

} // namespace quillex
