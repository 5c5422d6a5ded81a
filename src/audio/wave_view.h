// What the wave layer shows: the music's peak pyramid, the wave zoom level that picks
// how many samples one screen row covers, and where the wave and the cursor row sit
// on screen. Drawing it is the view's work; this holds the data and its defaults.
#pragma once

#include <array>

#include "audio/peak_pyramid.h"

namespace quillex {

class WaveView {
  public:
    static constexpr int kDefaultZoomLevel = 10;
    static constexpr int kDefaultHomeRow = 100;
    static constexpr int kDefaultWaveX = 250;

    bool visible = false;
    bool scrollingCursor = true;
    std::array<int, kPeakLevels> levelBlockSizes = kLevelBlockSizes;
    // The note size that goes with each wave zoom level when it is chosen automatically.
    std::array<int, kPeakLevels> noteSizeForZoom = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3};
    bool manualNoteSize = false;
    PeakPyramid peaks;
    int homeRow = kDefaultHomeRow;
    int waveX = kDefaultWaveX;
    int waveTop = 0;
    int waveBottom = 0;
    int cursorRow = kDefaultHomeRow;
    int zoomLevel = kDefaultZoomLevel;

    // Samples one screen row covers at the current zoom; 4096 when the zoom level is
    // outside 1..13.
    int samplesPerRow() const;

    // Back to the defaults a freshly loaded music starts with; `windowHeight` is the
    // last row the wave may use.
    void resetToDefaults(int windowHeight);

    void freePeaks() { peaks.clear(); }
};

} // namespace quillex
