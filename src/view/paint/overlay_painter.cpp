// What lies over the layers: the song-position bar, the rubber-band selection and
// the region markers, the middle-button autoscroll mark and the "Recording..." band.
#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"

namespace quillex {

namespace {

constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kRed{255, 255, 0, 0};

} // namespace

void paintPositionBar(const FrameContext& frame, Renderer& renderer) {
    const PositionBar& bar = frame.view.positionBar();
    if (!bar.enabled())
        return;
    const int height = frame.geometry.height;
    const ScreenBox box = bar.frame(height);
    renderer.rectangle(box.left, box.top, box.right, box.bottom, kWhite, false);
    const int row = bar.markerRow(frame.transport.position, height);
    renderer.line(box.left + 1, row, box.right - 1, row, kRed);
}

void paintSelection(const FrameContext& frame, Renderer& renderer) {
    const ViewGeometry& g = frame.geometry;
    const SelectionBand& band = frame.view.band;
    if (band.exists()) {
        const int row1 = g.rowOfSample(band.sample1);
        const int row2 = g.rowOfSample(band.sample2);
        renderer.rectangle(band.x1, row1, band.x2, row2, {64, 66, 255, 188}, true);
        renderer.rectangle(band.x1, row1, band.x2, row2, {150, 66, 255, 188}, false);
    }
    const RegionMarkers& region = frame.view.region;
    constexpr Colour kMarker{150, 255, 255, 32};
    if (region.begin) {
        const int begin = g.rowOfSample(*region.begin);
        renderer.line(60, begin, 740, begin, kMarker);
        if (region.end) {
            const int end = g.rowOfSample(*region.end);
            renderer.line(60, end, 740, end, kMarker);
            renderer.rectangle(60, begin, 740, end, kMarker, false);
        }
    }
}

void paintAutoscrollMark(const FrameContext& frame, Renderer& renderer) {
    const auto& mark = frame.view.autoscrollMark;
    if (!mark)
        return;
    renderer.sprite(PictureId::AutoScroll, QRect(0, 0, 32, 32), mark->first, mark->second, 16,
                    Turn::None, 220);
}

void paintRecording(const FrameContext& frame, Renderer& renderer) {
    if (!frame.view.recording)
        return;
    const int row = frame.view.wave().cursorRow;
    renderer.rectangle(295, row + 150, 505, row + 200, {200, 255, 0, 0}, true);
    renderer.rectangle(295, row + 150, 505, row + 200, {200, 255, 255, 255}, false);
    renderer.text("Recording...", 361, row + 165, 255, FontSize::Large);
}

} // namespace quillex
