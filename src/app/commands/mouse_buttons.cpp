// The mouse wheel and the right and middle buttons over the editor, as commands.
#include "app/commands/dispatcher.h"
#include <cstdlib>

namespace quillex {

bool Dispatcher::anyOfFirstColumnKeysDown() const {
    for (int i = 0; i < 4; ++i)
        if (p_.keysDown.isDown(columnKeys[static_cast<size_t>(i)]))
            return true;
    return false;
}

void Dispatcher::wheel(int delta, MouseKeys keys) {
    const int notches = delta / 120;
    if (notches == 0 || keys.anyButton)
        return;
    const bool earlier = notches > 0;
    if (!keys.shift && !keys.ctrl) {
        const bool bySnap = p_.transport.snapSet() && p_.store.beats().size() >= 2;
        CommandId step = bySnap ? (earlier ? CommandId::PreviousRow : CommandId::NextRow)
                                : (earlier ? CommandId::PageUp : CommandId::PageDown);
        for (int i = 0; i < std::abs(notches); ++i)
            dispatch(step);
        return;
    }
    if (keys.shift && keys.ctrl)
        return;
    // Holding a column key and turning the wheel draws a hold: no nudging or growing.
    if (anyOfFirstColumnKeysDown())
        return;
    if (keys.shift)
        dispatch(CommandId::Nudge, earlier ? 3 : 0);
    else
        dispatch(earlier ? CommandId::QuickShrink : CommandId::QuickGrow);
}

void Dispatcher::rightButtonDown(MouseKeys keys) {
    CommandId zoom =
        keys.shift && !keys.ctrl && !keys.anyButton ? CommandId::ZoomOut : CommandId::ZoomIn;
    dispatch(zoom);
    dispatch(zoom);
}

void Dispatcher::middleButtonDown(ScreenPoint at) {
    if (p_.options.mmbInsertBeat) {
        dispatch(CommandId::InsertBeat); // the guard applies as for the command
        return;
    }
    p_.shell.middleAutoscroll = !p_.shell.middleAutoscroll;
    p_.shell.middleAnchor = at;
}

void Dispatcher::middleButtonUp(ScreenPoint at) {
    if (!p_.options.mmbInsertBeat && at.y != p_.shell.middleAnchor.y)
        p_.shell.middleAutoscroll = false;
}

} // namespace quillex
