// Wires the view's commands (zoom, note size, layer switches, grid) to the editor view,
// and the reset of the status highlights (Escape, Open) to its status layer.
#pragma once

#include "app/commands/dispatcher.h"
#include "view/editor_view.h"

namespace quillex {

void registerViewCommands(Dispatcher& dispatcher, EditorView& view);

} // namespace quillex
