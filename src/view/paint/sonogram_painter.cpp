#include "view/paint/sonogram_painter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"

namespace quillex {

namespace {

constexpr Colour kCursorColour{255, 255, 255, 255};
constexpr Colour kMarkColour{255, 255, 255, 160};
constexpr int kMarkAlpha = 160;

// A short tick at each marked frequency with its label beside it, inside the span.
void paintFrequencyMarks(int sampleRate, SpectrogramSpan span, int top, Renderer& renderer) {
    for (const FrequencyMark& mark : spectrogramFrequencyMarks(sampleRate, span)) {
        renderer.line(mark.x, top, mark.x, top + 6, kMarkColour);
        const int width = renderer.textWidth(mark.label, FontSize::Small);
        const int x = mark.x + 3 + width <= span.right ? mark.x + 3 : mark.x - 2 - width;
        renderer.text(mark.label, x, top + 1, kMarkAlpha, FontSize::Small);
    }
}

} // namespace

void SpectrogramImages::forgetStripsIfChanged(const TfPyramid& pyramid, int width, int rangeDb) {
    pyramid_ = &pyramid;
    if (pyramid.serial() == serial_ && width == width_ && rangeDb == rangeDb_)
        return;
    serial_ = pyramid.serial();
    width_ = width;
    if (rangeDb != rangeDb_)
        palette_ = spectrogramPalette(rangeDb);
    rangeDb_ = rangeDb;
    strips_.clear();
}

QImage SpectrogramImages::makeStrip(int level, std::size_t index) const {
    const std::size_t first = index * kColumnsPerImage;
    const std::size_t count =
        std::min<std::size_t>(kColumnsPerImage, pyramid_->columnCount(level) - first);
    QImage image(width_, static_cast<int>(count), QImage::Format_ARGB32_Premultiplied);
    // Each pixel lies between two band centres; its level is blended from both.
    std::vector<int> lowBand(static_cast<std::size_t>(width_)), weight(lowBand.size());
    for (int x = 0; x < width_; ++x) {
        const double at = std::clamp((x + 0.5) * kTfBands / width_ - 0.5, 0.0, kTfBands - 1.0);
        const int low = std::min(static_cast<int>(at), kTfBands - 2);
        lowBand[static_cast<std::size_t>(x)] = low;
        weight[static_cast<std::size_t>(x)] = static_cast<int>(std::lround((at - low) * 256));
    }
    for (std::size_t row = 0; row < count; ++row) {
        const std::uint8_t* levels = pyramid_->column(level, first + row);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(static_cast<int>(row)));
        for (std::size_t x = 0; x < lowBand.size(); ++x) {
            const int a = levels[lowBand[x]], b = levels[lowBand[x] + 1];
            out[x] =
                palette_[static_cast<std::size_t>((a * (256 - weight[x]) + b * weight[x]) >> 8)];
        }
    }
    return image;
}

const QImage& SpectrogramImages::strip(int level, std::size_t index) {
    auto same = [&](const Strip& s) { return s.level == level && s.index == index; };
    auto found = std::find_if(strips_.begin(), strips_.end(), same);
    if (found != strips_.end())
        used_.push_back(std::move(*found));
    else
        used_.push_back({level, index, makeStrip(level, index)});
    return used_.back().image;
}

void SpectrogramImages::paint(const TfPyramid& pyramid, const ViewGeometry& geometry,
                              SpectrogramSpan span, int top, int bottom, int rangeDb,
                              QPainter& painter) {
    const int width = span.right - span.left;
    forgetStripsIfChanged(pyramid, width, rangeDb);
    const auto samplesPerRow = static_cast<long long>(geometry.samplesPerRow);
    if (width <= 0 || samplesPerRow <= 0 || bottom <= top)
        return;
    const int level = TfPyramid::levelFor(static_cast<int>(samplesPerRow));
    const long long hop = TfPyramid::hop(level);
    // Screen rows per column: a column is a whole number of rows at every zoom.
    const long long rowsPerColumn = std::max(1LL, hop / samplesPerRow);
    const auto firstBlock = static_cast<long long>(std::floor(geometry.position / samplesPerRow));
    const long long columns = static_cast<long long>(pyramid.columnCount(level));
    // The columns touching rows top..bottom-1.
    auto columnOfRow = [&](int y) {
        const long long block = firstBlock + (y - geometry.cursorRow);
        return block >= 0 ? block / rowsPerColumn : -1 - (-block - 1) / rowsPerColumn;
    };
    const long long firstColumn = std::max(0LL, columnOfRow(top));
    const long long lastColumn = std::min(columns - 1, columnOfRow(bottom - 1));
    if (firstColumn > lastColumn) {
        strips_.clear();
        return;
    }
    painter.save();
    painter.setClipRect(span.left, top, width, bottom - top);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    used_.clear();
    for (long long index = firstColumn / kColumnsPerImage; index <= lastColumn / kColumnsPerImage;
         ++index) {
        const QImage& image = strip(level, static_cast<std::size_t>(index));
        const long long y =
            geometry.cursorRow - firstBlock + index * kColumnsPerImage * rowsPerColumn;
        // Only the part of the strip in view, so a stretched strip stays a small blit.
        const long long from = std::max(0LL, firstColumn - index * kColumnsPerImage);
        const long long to =
            std::min<long long>(image.height(), lastColumn - index * kColumnsPerImage + 1);
        const QRect target(span.left, static_cast<int>(y + from * rowsPerColumn), width,
                           static_cast<int>((to - from) * rowsPerColumn));
        painter.drawImage(target, image,
                          QRect(0, static_cast<int>(from), width, static_cast<int>(to - from)));
    }
    painter.restore();
    strips_.swap(used_);
}

void paintSpectrogramLayer(const FrameContext& frame, Renderer& renderer) {
    if (!frame.view.spectrogramOn || !frame.spectrogram || !frame.spectrogramImages)
        return;
    const WaveView& wave = frame.view.wave();
    const SpectrogramLook& look = frame.view.spectrogramLook;
    const SpectrogramSpan span = spectrogramSpan(wave, look.besideWave);
    const int top = std::max(wave.waveTop, 0);
    const int bottom = std::min(wave.waveBottom, frame.geometry.height);
    frame.spectrogramImages->paint(*frame.spectrogram, frame.geometry, span, top, bottom,
                                   look.rangeDb, renderer.painter());
    renderer.line(span.left, wave.cursorRow, span.right, wave.cursorRow, kCursorColour);
    paintFrequencyMarks(frame.spectrogram->sampleRate(), span, top, renderer);
}

} // namespace quillex
