#include "audio/wave_view.h"

namespace quillex {

int WaveView::samplesPerRow() const {
    if (zoomLevel < 1 || zoomLevel >= kPeakLevels)
        return levelBlockSizes[kPeakLevels - 1];
    return levelBlockSizes[static_cast<std::size_t>(zoomLevel)];
}

void WaveView::resetToDefaults(int windowHeight) {
    waveX = kDefaultWaveX;
    waveTop = 0;
    waveBottom = windowHeight;
    homeRow = kDefaultHomeRow;
    cursorRow = kDefaultHomeRow;
    zoomLevel = kDefaultZoomLevel;
}

} // namespace quillex
