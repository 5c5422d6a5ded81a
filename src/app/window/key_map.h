// Turns Qt key events into the program's key numbers. Keys whose meaning moves with
// the keyboard layout (the number row, the punctuation keys, the key left of 1) are
// taken by their place on the keyboard when the platform reports it, so that stored
// settings name the same physical keys on every layout; letters follow the layout.
#pragma once

#include <QKeyEvent>

#include "app/keys/virtual_keys.h"

namespace quillex {

// The key number of the event's key, or 0 when it has none.
VirtualKey virtualKeyOf(const QKeyEvent& event);
// The key number of a Qt key without knowing its place (0 when it has none).
VirtualKey virtualKeyOfQtKey(int qtKey, bool keypad);
// Shift, Ctrl and Alt as the shortcut table compares them.
KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers);

} // namespace quillex
