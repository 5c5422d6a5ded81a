// The editor view's own state and the commands that change it: zoom, note size, layer
// switches, grid, the position bar, the rubber band and region markers, and what
// happens every second frame. Everything here is plain data and arithmetic; the Qt
// widget reads it to paint a frame.
#pragma once

#include <array>
#include <optional>
#include <utility>

#include "audio/practice_judge.h"
#include "audio/wave_view.h"
#include "items/item_store.h"
#include "view/density_graph.h"
#include "view/grid.h"
#include "view/item_boxes.h"
#include "view/position_bar.h"
#include "view/sonogram_look.h"
#include "view/status_layer.h"
#include "view/transport_state.h"
#include "view/view_geometry.h"

namespace quillex {

class ShellHooks;

// The rubber band of a mouse selection: corners as (x, sample); each -65535 when no
// band exists.
struct SelectionBand {
    static constexpr int kUnset = -65535;
    int x1 = kUnset, sample1 = kUnset, x2 = kUnset, sample2 = kUnset;
    bool exists() const {
        return x1 != kUnset && sample1 != kUnset && x2 != kUnset && sample2 != kUnset;
    }
};

// The begin and end marks of the selection region.
struct RegionMarkers {
    std::optional<SamplePosition> begin;
    std::optional<SamplePosition> end;
};

class EditorView {
  public:
    EditorView(ItemStore& store, WaveView& wave, ShellHooks& hooks);

    // Zoom In/Out/In Full/Out Full: the picture scales around the cursor row; the note
    // size follows unless set by hand.
    void zoom(ZoomCommand command);
    // Note Size Auto/Smaller/Larger, with the Auto menu mark.
    void noteSizeCommand(NoteSizeCommand command);
    // Sets a note size by hand; false (and nothing changes) outside 0..3.
    bool setNoteSize(int size);
    int noteSize() const { return noteSize_; }

    // View menu layer switches: the flag, its menu mark and its items' layerActive.
    void setLayer(Layer layer, bool on);
    void toggleLayer(Layer layer);
    static CommandId layerCommandId(Layer layer);

    // Tools/Grid: the flag word and the four menu marks.
    void chooseGrid(GridChoice choice);
    const Grid& grid() const { return grid_; }

    // A click at (x, y) of the window: returns the sample to seek to when it falls
    // inside the position bar or the density graph beside it. The caller seeks with
    // both assist ticks muted.
    std::optional<SamplePosition> clickPositionBar(int x, int y, SamplePosition musicLength);
    PositionBar& positionBar() { return positionBar_; }
    const PositionBar& positionBar() const { return positionBar_; }
    DensityGraph& densityGraph() { return densityGraph_; }
    const DensityGraph& densityGraph() const { return densityGraph_; }

    StatusLayer& status() { return status_; }
    const StatusLayer& status() const { return status_; }

    // A new client size; the fixed regions follow it.
    void setWindowSize(int width, int height);
    int windowWidth() const { return width_; }
    int windowHeight() const { return height_; }

    // The view of this frame: play position, samples per row, cursor row, window size.
    ViewGeometry geometry(double playPosition) const;
    // The current level's game type with the note size.
    ArrowLayout arrowLayout() const;
    // Brings the boxes of the items in view and of the fixed regions up to date (call
    // before hit-testing).
    void layoutBoxes(double playPosition);

    // Before drawing a frame: the position bar spans the loaded music, the density
    // graph follows the chart's edits, the fixed regions follow the view, and the
    // status slots show the transport's snap, tempo and position.
    void beginFrame(const TransportState& transport);
    // The per-frame steps after drawing: the scrolling cursor and the fades (every
    // second frame; the background opacity step is the renderer's).
    // Returns true on the frames that ran the second-frame steps.
    bool finishFrame(const TransportState& transport);
    int frameCount() const { return frameCount_; }

    // Dance single, double and couple can use the enhanced noteskin.
    void setEnhancedNoteskin(int gameType, bool on);
    bool enhancedNoteskin(int gameType) const;

    SelectionBand band;
    RegionMarkers region;
    // Where the middle button started autoscrolling (the mark is drawn there).
    std::optional<std::pair<int, int>> autoscrollMark;
    bool recording = false;
    bool practiceMode = false;
    // What the practice judging shows; the drawing fades it (null: nothing to show).
    JudgementDisplay* judgement = nullptr;
    bool filteredWaveAlone = false;
    bool spectrogramOn = false; // the spectrogram layer is shown
    SpectrogramLook spectrogramLook;

    ItemStore& store() { return store_; }
    const ItemStore& store() const { return store_; }
    WaveView& wave() { return wave_; }
    const WaveView& wave() const { return wave_; }

  private:
    void applyNoteSize(NoteSizeSetting setting);
    void markGrid();

    ItemStore& store_;
    WaveView& wave_;
    ShellHooks& hooks_;
    int noteSize_ = 0;
    Grid grid_;
    StatusLayer status_;
    PositionBar positionBar_;
    DensityGraph densityGraph_;
    std::array<bool, kGameTypeCount> enhanced_{};
    int width_ = 800;
    int height_ = 600;
    int frameCount_ = 0;
    double position_ = 0; // the play position the boxes were last laid out for
};

} // namespace quillex
