#include "app/commands/stretch_commands.h"

#include "items/warp_edits.h"
#include "tools/stretch_spans.h"

namespace quillex {

namespace {

// Opens the entry `label` (unless a recording holds one), makes the edit, refreshes,
// commits, and consumes the region, as Insert Pause does.
template <typename Edit>
void insertStretch(Editor& editor, Dispatcher& dispatcher, std::string_view label,
                   const std::variant<RowSpan, std::string_view>& span, Edit edit) {
    if (const auto* refusal = std::get_if<std::string_view>(&span)) {
        editor.messages().show(*refusal);
        return;
    }
    ItemStore& store = editor.store();
    const bool recording = dispatcher.recordingEntryOpen();
    store.setLayer(Layer::Pause, true);
    if (!recording)
        dispatcher.openUndoEntry(label);
    edit(store, std::get<RowSpan>(span));
    store.refresh();
    if (!recording)
        dispatcher.commitUndoEntry();
    editor.region().reset();
    store.setModified(true);
}

} // namespace

void registerStretchCommands(Editor& editor, Dispatcher& dispatcher) {
    dispatcher.registerHandler(CommandId::InsertDelay, [&editor, &dispatcher](int) {
        editor.store().refresh();
        insertStretch(
            editor, dispatcher, "Insert Delay", delaySpan(editor.store(), editor.region()),
            [](ItemStore& store, const RowSpan& span) { store.addDelay(span.start, span.length); });
    });
    dispatcher.registerHandler(CommandId::InsertWarp, [&editor, &dispatcher](int) {
        editor.store().refresh();
        insertStretch(editor, dispatcher, "Insert Warp", warpSpan(editor.store(), editor.region()),
                      [](ItemStore& store, const RowSpan& span) {
                          openWarpRows(store, span.start, span.length.row());
                      });
    });
}

} // namespace quillex
