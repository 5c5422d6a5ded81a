// Hands the options to the objects that keep them: the item store, the save flow, the
// player's ticks, the song writer, the view and the renderer. Start-up and the Options
// dialog's OK both go through here, so every option takes hold the same way.
#pragma once

#include "app/session/editor.h"
#include "app/shell/shell.h"

namespace quillex {

class EditorView;
class Renderer;

// `renderer` may be null (a window without drawing).
void applyOptions(const Options& options, Editor& editor, Shell& shell, EditorView& view,
                  Renderer* renderer);

} // namespace quillex
