#include "analysis/tf_pyramid.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace quillex {

namespace {

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

} // namespace

std::uint8_t tfLevelByte(double decibels) {
    const double steps = std::round((decibels - kTfFloorDb) * kTfStepsPerDb);
    return static_cast<std::uint8_t>(std::clamp(steps, 0.0, 255.0));
}

double tfLevelDb(std::uint8_t level) {
    return kTfFloorDb + level / kTfStepsPerDb;
}

TfBands::TfBands(int sampleRate) : lowest_(kTfLowestHz) {
    const double nyquist = 0.5 * sampleRate;
    const double highest = std::min(kTfHighestHz, 0.98 * nyquist);
    ratio_ = std::pow(highest / lowest_, 1.0 / kTfBands);
    const double binHz = static_cast<double>(sampleRate) / kTfWindow;
    const int topBin = kTfWindow / 2;
    for (int b = 0; b < kTfBands; ++b) {
        BinRange& range = bins_[static_cast<std::size_t>(b)];
        range.first = std::min(static_cast<int>(std::ceil(lowHz(b) / binHz)), topBin);
        range.last = std::min(static_cast<int>(std::ceil(highHz(b) / binHz)) - 1, topBin);
        range.centreBin = std::min(std::sqrt(lowHz(b) * highHz(b)) / binHz, topBin - 1.0);
        lastBin_ = std::max({lastBin_, range.last, static_cast<int>(range.centreBin) + 1});
    }
}

float TfBands::magnitude(int band, const float* bins) const {
    const BinRange& range = bins_[static_cast<std::size_t>(band)];
    if (range.first <= range.last)
        return *std::max_element(bins + range.first, bins + range.last + 1);
    const auto below = static_cast<int>(range.centreBin);
    const auto above = static_cast<float>(range.centreBin - below);
    return bins[below] * (1 - above) + bins[below + 1] * above;
}

double TfBands::lowHz(int band) const {
    return lowest_ * std::pow(ratio_, band);
}

double TfBands::position(double hz) const {
    return std::log(hz / lowest_) / std::log(ratio_);
}

int TfBands::bandOf(double hz) const {
    if (hz < lowest_ || hz >= highHz(kTfBands - 1))
        return -1;
    const int band = static_cast<int>(std::floor(std::log(hz / lowest_) / std::log(ratio_)));
    return std::clamp(band, 0, kTfBands - 1);
}

TfPyramid::TfPyramid(int sampleRate, std::size_t frames)
    : serial_(nextSerial()), sampleRate_(sampleRate), frames_(frames) {
    for (int level = 0; level < kTfStoredLevels; ++level)
        levels_[static_cast<std::size_t>(level)].assign(columnCount(level) * kTfBands, 0);
}

std::size_t TfPyramid::columnCount(int level) const {
    const auto h = static_cast<std::size_t>(hop(level));
    return (frames_ + h - 1) / h;
}

const std::uint8_t* TfPyramid::column(int level, std::size_t index) const {
    return levels_[static_cast<std::size_t>(level)].data() + index * kTfBands;
}

int TfPyramid::levelFor(int samplesPerRow) {
    int level = 0;
    while (level + 1 < kTfStoredLevels && hop(level + 1) <= samplesPerRow)
        ++level;
    return level;
}

std::uint8_t* TfPyramid::baseColumn(std::size_t index) {
    return levels_[0].data() + index * kTfBands;
}

void TfPyramid::buildCoarserLevels() {
    for (int level = 1; level < kTfStoredLevels; ++level) {
        const std::vector<std::uint8_t>& finer = levels_[static_cast<std::size_t>(level - 1)];
        std::vector<std::uint8_t>& coarser = levels_[static_cast<std::size_t>(level)];
        const std::size_t finerColumns = columnCount(level - 1);
        for (std::size_t c = 0; c < columnCount(level); ++c) {
            const std::uint8_t* a = finer.data() + 2 * c * kTfBands;
            // The last column may have only one finer column under it.
            const std::uint8_t* b = 2 * c + 1 < finerColumns ? a + kTfBands : a;
            std::uint8_t* out = coarser.data() + c * kTfBands;
            for (int k = 0; k < kTfBands; ++k)
                out[k] = std::max(a[k], b[k]);
        }
    }
}

std::size_t TfPyramid::memoryBytes() const {
    std::size_t bytes = 0;
    for (const auto& level : levels_)
        bytes += level.capacity();
    return bytes;
}

} // namespace quillex
