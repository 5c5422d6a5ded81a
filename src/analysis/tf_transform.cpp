#include "analysis/tf_transform.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "analysis/magnitude_frames.h"

namespace quillex {

namespace {

// Columns between two looks at the progress and the stop request.
constexpr std::size_t kColumnsPerStep = 256;

// A Hann window's transform of a full-scale sine peaks at a quarter of the window's
// length: dividing by it puts such a sine at 0 dB.
constexpr float kFullScaleMagnitude = kTfWindow / 4.0f;

void fillColumns(TfPyramid& pyramid, const TfBands& bands, const std::vector<float>& mono,
                 std::size_t first, std::size_t last,
                 const std::function<bool(std::size_t)>& step) {
    SpectrumFrames frames(kTfWindow);
    std::vector<float> magnitudes;
    const int bins = bands.lastBin() + 1;
    for (std::size_t c = first; c < last; ++c) {
        const auto centre = static_cast<std::ptrdiff_t>(c * kTfBaseHop + kTfBaseHop / 2);
        frames.magnitudes(mono, centre, bins, magnitudes);
        std::uint8_t* out = pyramid.baseColumn(c);
        for (int b = 0; b < kTfBands; ++b) {
            const float loudest = bands.magnitude(b, magnitudes.data()) / kFullScaleMagnitude;
            out[b] = tfLevelByte(20.0 * std::log10(std::max(loudest, 1e-9f)));
        }
        if ((c - first + 1) % kColumnsPerStep == 0 && !step(kColumnsPerStep))
            return;
    }
}

} // namespace

std::shared_ptr<TfPyramid> buildTfPyramid(const std::vector<float>& mono, int sampleRate,
                                          const TfProgress& progress, int threads) {
    auto pyramid = std::make_shared<TfPyramid>(sampleRate, mono.size());
    const TfBands bands(sampleRate);
    const std::size_t total = pyramid->columnCount(0);
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stopped{false};
    // Every thread counts its columns; only the calling one reports, since the
    // progress callback belongs to it.
    auto count = [&](std::size_t columns) {
        done.fetch_add(columns, std::memory_order_relaxed);
        return !stopped.load(std::memory_order_relaxed);
    };
    auto report = [&](std::size_t columns) {
        count(columns);
        if (progress && !progress(done.load(std::memory_order_relaxed), total))
            stopped.store(true);
        return !stopped.load();
    };
    threads = std::max(1, threads);
    const std::size_t share =
        (total + static_cast<std::size_t>(threads) - 1) / static_cast<std::size_t>(threads);
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        const std::size_t first = std::min(total, share * static_cast<std::size_t>(t));
        const std::size_t last = std::min(total, first + share);
        helpers.emplace_back(
            [&, first, last] { fillColumns(*pyramid, bands, mono, first, last, count); });
    }
    fillColumns(*pyramid, bands, mono, 0, std::min(total, share), report);
    for (std::thread& helper : helpers)
        helper.join();
    if (stopped.load() || (progress && !progress(total, total)))
        return nullptr;
    pyramid->buildCoarserLevels();
    return pyramid;
}

} // namespace quillex
