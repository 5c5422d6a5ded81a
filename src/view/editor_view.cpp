// View commands and the per-frame bookkeeping of the editor view.
#include "view/editor_view.h"

#include <algorithm>

#include "ports/command_id.h"
#include "ports/shell_hooks.h"

namespace quillex {

EditorView::EditorView(ItemStore& store, WaveView& wave, ShellHooks& hooks)
    : store_(store), wave_(wave), hooks_(hooks) {}

void EditorView::zoom(ZoomCommand command) {
    wave_.zoomLevel =
        std::clamp(zoomLevelAfter(command, wave_.zoomLevel), kMinZoomLevel, kMaxZoomLevel);
    const NoteSizeSetting current{noteSize_, wave_.manualNoteSize};
    applyNoteSize(noteSizeAfterZoom(current, wave_.noteSizeForZoom[wave_.zoomLevel]));
    status_.light(StatusPanel::Zoom);
}

void EditorView::noteSizeCommand(NoteSizeCommand command) {
    const NoteSizeSetting current{noteSize_, wave_.manualNoteSize};
    const int level = std::clamp(wave_.zoomLevel, kMinZoomLevel, kMaxZoomLevel);
    applyNoteSize(noteSizeAfter(command, current, wave_.noteSizeForZoom[level]));
    status_.light(StatusPanel::Zoom);
}

bool EditorView::setNoteSize(int size) {
    if (size < 0 || size >= kNoteSizeCount)
        return false;
    applyNoteSize({size, true});
    return true;
}

void EditorView::applyNoteSize(NoteSizeSetting setting) {
    noteSize_ = setting.size;
    wave_.manualNoteSize = setting.manual;
    hooks_.setMenuCheck(CommandId::NoteSizeAuto, !setting.manual);
    // The notes' boxes follow the new size (and, after a zoom, the new scale) at once.
    layoutBoxes(position_);
}

CommandId EditorView::layerCommandId(Layer layer) {
    switch (layer) {
    case Layer::Wave:
        return CommandId::WaveLayer;
    case Layer::Beat:
        return CommandId::BeatLayer;
    case Layer::Pause:
        return CommandId::PauseLayer;
    case Layer::Arrow:
        return CommandId::ArrowLayer;
    case Layer::Status:
        return CommandId::StatusLayer;
    }
    return CommandId::WaveLayer;
}

void EditorView::setLayer(Layer layer, bool on) {
    store_.setLayer(layer, on);
    if (layer == Layer::Wave)
        wave_.visible = on;
    hooks_.setMenuCheck(layerCommandId(layer), on);
}

void EditorView::toggleLayer(Layer layer) {
    setLayer(layer, !store_.layerOn(layer));
}

void EditorView::chooseGrid(GridChoice choice) {
    grid_.choose(choice);
    markGrid();
}

void EditorView::markGrid() {
    for (GridChoice c :
         {GridChoice::None, GridChoice::Quarter, GridChoice::Eighth, GridChoice::Sixteenth})
        hooks_.setMenuCheck(Grid::commandId(c), c == grid_.choice());
}

std::optional<SamplePosition> EditorView::clickPositionBar(int x, int y,
                                                           SamplePosition musicLength) {
    if (DensityGraph::contains(x))
        return positionBar_.sampleAtRow(y, height_, musicLength);
    return positionBar_.click(x, y, height_, musicLength);
}

void EditorView::setWindowSize(int width, int height) {
    width_ = width;
    height_ = height;
    wave_.waveBottom = height;
    layoutRegionBoxes(store_, geometry(position_), arrowLayout());
}

ViewGeometry EditorView::geometry(double playPosition) const {
    ViewGeometry g;
    g.position = playPosition;
    g.samplesPerRow = wave_.samplesPerRow();
    g.cursorRow = wave_.cursorRow;
    g.width = width_;
    g.height = height_;
    return g;
}

ArrowLayout EditorView::arrowLayout() const {
    return {gameTypeOfLevel(store_.currentLevel()), noteSize_};
}

void EditorView::layoutBoxes(double playPosition) {
    position_ = playPosition;
    const ViewGeometry g = geometry(playPosition);
    layoutRegionBoxes(store_, g, arrowLayout());
    layoutItemBoxes(store_, g, arrowLayout(), store_.layerOn(Layer::Beat) || grid_.any());
}

void EditorView::beginFrame(const TransportState& transport) {
    positionBar_.setRange(0, transport.loaded ? transport.length : 100);
    densityGraph_.update(store_);
    // A music load resets the wave's rows; its bottom always follows the window.
    wave_.waveBottom = height_;
    position_ = transport.position;
    layoutRegionBoxes(store_, geometry(position_), arrowLayout());
    // The texts are current in the frame that draws them, so one frame shows a change.
    const TimingMap timing = store_.timing();
    status_.updateTransportSlots(transport, timing);
    status_.setPracticeMode(practiceMode);
}

bool EditorView::finishFrame(const TransportState& transport) {
    ++frameCount_;
    if (frameCount_ % 2 != 0)
        return false;
    if (transport.playing && wave_.scrollingCursor) {
        wave_.cursorRow = cursorRowStepTowardHome(wave_.cursorRow, wave_.homeRow);
        position_ = transport.position;
        layoutRegionBoxes(store_, geometry(position_), arrowLayout());
    }
    status_.fadeStep();
    return true;
}

void EditorView::setEnhancedNoteskin(int gameType, bool on) {
    if (gameType >= 0 && gameType <= static_cast<int>(GameType::DanceCouple))
        enhanced_[gameType] = on;
}

bool EditorView::enhancedNoteskin(int gameType) const {
    return gameType >= 0 && gameType < kGameTypeCount && enhanced_[gameType];
}

} // namespace quillex
