// The wave layer: two bands with the music's peaks row by row, the filtered wave over
// them, and the cursor line.
#include <QPainter>
#include <QRect>

#include <cmath>
#include <vector>

#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"

namespace quillex {

namespace {

constexpr Colour kBandColour{192, 121, 162, 31};
constexpr Colour kWaveColour{255, 255, 255, 84};
constexpr Colour kCursorColour{255, 255, 255, 255};
constexpr int kRightChannelOffset = 300;

Colour filteredColour(bool alone) {
    return {alone ? 255 : 191, 234, 51, 67};
}

// A horizontal span from x0 to x1 on a row, as one-row rectangle (empty when equal).
void addSpan(std::vector<QRect>& spans, int x0, int x1, int y) {
    if (x0 == x1)
        return;
    spans.emplace_back(std::min(x0, x1), y, std::abs(x1 - x0), 1);
}

// The peaks of one pyramid, one span per channel and row.
void paintPeaks(const PeakPyramid& peaks, const WaveView& wave, const ViewGeometry& g,
                Colour colour, QPainter& painter) {
    const int level = wave.zoomLevel;
    const auto count = static_cast<long long>(peaks.blockCount(level));
    if (count == 0)
        return;
    const long long firstBlock = static_cast<long long>(std::floor(g.position / g.samplesPerRow));
    const int top = std::max(wave.waveTop, 0);
    const int bottom = std::min(wave.waveBottom, g.height);
    const int x = wave.waveX;
    const int xr = x + kRightChannelOffset;

    thread_local std::vector<QRect> spans;
    spans.clear();
    for (int y = top; y < bottom; ++y) {
        const long long k = firstBlock + (y - wave.cursorRow);
        if (k < 0)
            continue;
        if (k >= count)
            break;
        const PeakRange r = peaks.range(level, static_cast<std::size_t>(k));
        addSpan(spans, x + r.leftMin, x + r.leftMax, y);
        addSpan(spans, xr + r.rightMin, xr + r.rightMax, y);
    }
    if (spans.empty())
        return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(colour));
    painter.drawRects(spans.data(), static_cast<int>(spans.size()));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

void paintWaveLayer(const FrameContext& frame, Renderer& renderer) {
    const WaveView& wave = frame.view.wave();
    const ViewGeometry& g = frame.geometry;
    const int x = wave.waveX;
    const bool visible = frame.layerOn(Layer::Wave);
    if (visible) {
        const int bottom = std::min(wave.waveBottom, g.height);
        renderer.rectangle(x - 128, wave.waveTop, x + 128, bottom, kBandColour, true);
        renderer.rectangle(x + 172, wave.waveTop, x + 428, bottom, kBandColour, true);
        const bool filtered = frame.filteredPeaks && !frame.filteredPeaks->empty();
        const bool alone = filtered && frame.view.filteredWaveAlone;
        if (!alone)
            paintPeaks(wave.peaks, wave, g, kWaveColour, renderer.painter());
        if (filtered)
            paintPeaks(*frame.filteredPeaks, wave, g, filteredColour(alone), renderer.painter());
    }
    // The cursor line also shows with the wave hidden while a grid is set.
    const bool cursorLine = visible || (frame.transport.loaded && frame.view.grid().any());
    if (cursorLine) {
        renderer.line(x - 128, wave.cursorRow, x + 128, wave.cursorRow, kCursorColour);
        renderer.line(x + 172, wave.cursorRow, x + 428, wave.cursorRow, kCursorColour);
    }
}

} // namespace quillex
