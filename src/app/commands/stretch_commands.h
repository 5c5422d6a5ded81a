// Insert Delay and Insert Warp: a delay over the rows of the region (or the selected
// beats), and a warp opened at its start. The spans and refusals come from the tools
// (tools/stretch_spans.h); these handlers add the undo entries, the refreshes and the
// messages, as Insert Pause does. Delays and warps are deleted like pauses, by Delete.
#pragma once

#include "app/commands/dispatcher.h"
#include "app/session/editor.h"

namespace quillex {

void registerStretchCommands(Editor& editor, Dispatcher& dispatcher);

} // namespace quillex
