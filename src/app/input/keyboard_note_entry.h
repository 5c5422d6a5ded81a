// Keyboard note entry, once a frame on the main thread: the column keys ('1'…'9', '0')
// place a tap at the play position's row, toggle a note that is already there, draw a
// hold or roll while held as the position moves, and place mines with Shift. One
// "Edit Note" undo entry covers everything from the first press until every column
// key is up again. Presses are taken from the key table's log, so a key pressed and
// released within one frame still places its note, at the row where the music was
// when it went down.
#pragma once

#include <array>
#include <optional>

#include "app/commands/dispatcher.h"
#include "app/session/editor.h"
#include "app/keys/key_tables.h"

namespace quillex {

class KeyboardNoteEntry {
  public:
    KeyboardNoteEntry(Editor& editor, Dispatcher& dispatcher, const KeyDownTable& down,
                      KeyStateTable& states, const ShellState& shell);

    // One frame. False when it did not run (the lists are being rebuilt, or Ctrl is
    // held).
    bool frame();

  private:
    // What one column key's press left behind. The press's note is found again by
    // column and row each frame, never by a list position, so an undo, a refresh or a
    // paste between frames cannot make it stretch another note.
    struct Press {
        bool pressedHere = false;   // seen down by this routine, release still to come
        bool foundExisting = false; // the press landed on a note already there
        bool mine = false;          // placed a mine: never drawn into a hold
        bool drewHold = false;
        RowPosition startRow{};    // where the press happened, snapped
        std::int32_t pressRow = 0; // where the press happened
        RowPosition noteRow{};     // where the press's note starts now
    };

    void press(int column, const KeyPress& keyPress);
    void drawHold(int column);
    void release(int column);
    // The index of this press's note in the current level, or nothing when it is gone.
    std::optional<std::size_t> noteOfPress(int column) const;
    RowPosition positionRow() const;

    Editor& editor_;
    Dispatcher& dispatcher_;
    const KeyDownTable& down_;
    KeyPressReader presses_;
    KeyStateTable& states_;
    const ShellState& shell_;
    std::array<Press, kMaxColumns> pressOf_{};
    bool groupOpen_ = false;
    bool needsRefresh_ = false;
};

} // namespace quillex
