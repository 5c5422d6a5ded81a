#include "app/commands/view_commands.h"

namespace quillex {

void registerViewCommands(Dispatcher& d, EditorView& view) {
    d.resetStatusHighlights = [&view] { view.status().lightAll(); };

    auto zoom = [&view](ZoomCommand command) {
        return [&view, command](int) { view.zoom(command); };
    };
    d.registerHandler(CommandId::ZoomIn, zoom(ZoomCommand::In));
    d.registerHandler(CommandId::ZoomOut, zoom(ZoomCommand::Out));
    d.registerHandler(CommandId::ZoomInFull, zoom(ZoomCommand::InFull));
    d.registerHandler(CommandId::ZoomOutFull, zoom(ZoomCommand::OutFull));

    auto noteSize = [&view](NoteSizeCommand command) {
        return [&view, command](int) { view.noteSizeCommand(command); };
    };
    d.registerHandler(CommandId::NoteSizeAuto, noteSize(NoteSizeCommand::Auto));
    d.registerHandler(CommandId::NoteSizeSmaller, noteSize(NoteSizeCommand::Smaller));
    d.registerHandler(CommandId::NoteSizeLarger, noteSize(NoteSizeCommand::Larger));

    for (Layer layer : {Layer::Wave, Layer::Beat, Layer::Pause, Layer::Arrow, Layer::Status})
        d.registerHandler(EditorView::layerCommandId(layer),
                          [&view, layer](int) { view.toggleLayer(layer); });

    for (GridChoice choice :
         {GridChoice::None, GridChoice::Quarter, GridChoice::Eighth, GridChoice::Sixteenth})
        d.registerHandler(Grid::commandId(choice),
                          [&view, choice](int) { view.chooseGrid(choice); });
    // Shift+Tab: the next grid, the last wrapping to none.
    d.registerHandler(CommandId::NextGrid, [&view](int) {
        const int next = (static_cast<int>(view.grid().choice()) + 1) % 4;
        view.chooseGrid(static_cast<GridChoice>(next));
    });
}

} // namespace quillex
