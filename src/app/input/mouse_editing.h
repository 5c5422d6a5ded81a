// The left mouse button in the editor: a press grabs the item under the mouse (a
// beat, a pause, a note, the cursor line, the target row, the position bar) or starts
// a rubber band; while the button is held the frame loop hands in the mouse position
// once per frame and the grabbed thing follows it; the release ends the drag as one
// undo entry or applies the band to the selection.
//
// Plain logic over the Editor, its view and the dispatcher's undo hooks, so tests
// drive it headless; the window only forwards its mouse events and frames.
#pragma once

#include "app/commands/dispatcher.h"
#include "app/session/editor.h"
#include "view/editor_view.h"

namespace quillex {

// What the mouse holds during a press.
struct MouseState {
    bool buttonDown = false;
    // Last position relative to the editor's top-left corner, and the motion since the
    // frame before (dy includes the rows the drag autoscroll moved).
    int mouseX = 0, mouseY = 0;
    int dx = 0, dy = 0;
    ItemKind hitKind = ItemKind::None;
    int hitIndex = -1;  // in the grabbed item's list
    bool moved = false; // items moved during this press: refreshed on release
    bool positionBarPressed = false;
    bool cursorLinePressed = false;
    bool targetRowPressed = false;
    bool areaPressed = false;
};

class MouseEditing {
  public:
    MouseEditing(Editor& editor, EditorView& view, Dispatcher& dispatcher);

    // Ctrl counts only when it is the one key held with the left button alone (Shift,
    // or another button, makes a plain click).
    static bool ctrlHeld(MouseKeys keys) { return keys.ctrl && !keys.shift && !keys.anyButton; }

    // The left button went down at (x, y) of the editor.
    void press(int x, int y, bool ctrlHeld);
    // Once per frame with the mouse position; `scrollRows` is how far the drag
    // autoscroll moved the play position this frame, in rows.
    void motion(int x, int y, int scrollRows);
    // The left button came up.
    void release();

    bool buttonDown() const { return state_.buttonDown; }
    const MouseState& state() const { return state_; }

  private:
    struct Hit {
        ItemKind kind = ItemKind::None;
        int index = -1;
    };
    Hit hitTest() const;
    double samplesPerRow() const;
    // The sample on screen row y.
    double sampleAtRow(int y) const;
    void startBand();
    void pressBeat(int index, bool ctrl);
    // A pause, delay or warp.
    void pressStretch(ItemKind kind, int index, bool ctrl);
    void pressNote(int index, bool ctrl);
    void pressArea(bool ctrl);
    // The cursor line moves to the mouse's row (the home row with it).
    void moveCursorLineToMouse();
    // Moves the selected beats (not the locked ones) and pauses by dy rows, inside the
    // drag's undo entry.
    void dragSelected();
    void applyBand();

    Editor& editor_;
    EditorView& view_;
    Dispatcher& dispatcher_;
    MouseState state_;
};

} // namespace quillex
