// The application-wide shell flags: whether frames are drawn and keys acted on, the
// answer of the last save prompt, the editor's place on the screen and the mouse
// scrolling state. The modified flag lives in the ItemStore, which every edit sets.
#pragma once

#include <atomic>

namespace quillex {

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The editor's client area in screen coordinates.
struct EditorScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool contains(ScreenPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};

enum class SavePromptAnswer { Cancel = -1, No = 0, Yes = 1 };

struct ShellState {
    // Minimised or a modal dialog open: no frames are drawn and the input timer
    // ignores keys. Read by the timer thread.
    std::atomic<bool> suspended{false};
    // The window is the active window; keyboard note entry works only while true.
    std::atomic<bool> active{true};
    bool maximised = false;
    SavePromptAnswer savePromptResult = SavePromptAnswer::Cancel;
    int lastWidth = 0;
    int lastHeight = 0;
    EditorScreenRect editorScreenRect;
    ScreenPoint cursorPos;
    bool middleAutoscroll = false;
    ScreenPoint middleAnchor;
};

// How far `cursor` lies outside `rect` on each axis; 0 inside.
inline ScreenPoint dragScrollDistance(const EditorScreenRect& rect, ScreenPoint cursor) {
    ScreenPoint d;
    if (cursor.x < rect.left)
        d.x = cursor.x - rect.left;
    else if (cursor.x > rect.right)
        d.x = cursor.x - rect.right;
    if (cursor.y < rect.top)
        d.y = cursor.y - rect.top;
    else if (cursor.y > rect.bottom)
        d.y = cursor.y - rect.bottom;
    return d;
}

// Rows the middle-button autoscroll moves per frame: a quarter of the vertical
// distance from the anchor, truncated toward zero.
inline int middleAutoscrollRows(ScreenPoint anchor, ScreenPoint cursor) {
    return (cursor.y - anchor.y) / 4;
}

} // namespace quillex
