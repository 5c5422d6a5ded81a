// The waveform's peaks at 14 zoom levels, built once from the decoded music. Level 1
// holds every sample reduced to a signed byte; each higher level holds, per block of
// samples, the smallest and largest value of each channel (always including 0).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/large_buffer.h"

namespace quillex {

inline constexpr int kPeakLevels = 14;

// Samples per block of each level; level 0 holds no data.
inline constexpr std::array<int, kPeakLevels> kLevelBlockSizes = {
    1, 1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096};

// Widens a decoded sample to the signed byte the pyramid stores. `sample` is
// left-aligned in 32 bits (full scale is the int32 range, whatever the file's bit
// depth), so dividing by 2^24 with truncation toward zero equals dividing the
// original b-bit value by 2^(b-8): -1 and -255 of a 16-bit file both become 0.
constexpr std::int8_t reduceSample(std::int32_t leftAligned) {
    return static_cast<std::int8_t>(leftAligned / (1 << 24));
}
// The same for a 16-bit sample (8-bit files arrive here widened to 16 bits).
constexpr std::int8_t reduceSample16(std::int16_t sample) {
    return static_cast<std::int8_t>(sample / 256);
}

class PeakPyramid {
  public:
    // One level's four arrays, one entry per block. Level 1 keeps its samples in
    // leftMax and rightMax and leaves the minimum arrays empty.
    struct Level {
        LargeBuffer<std::int8_t> leftMin, leftMax, rightMin, rightMax;
        std::size_t size() const { return leftMax.size(); }
    };

    const Level& level(int k) const { return levels_[static_cast<std::size_t>(k)]; }
    bool empty() const { return levels_[1].leftMax.empty(); }
    // Samples seen so far (level 1's entry count).
    std::size_t sampleCount() const { return levels_[1].leftMax.size(); }

    // Empties every array and gives the memory back.
    void clear();
    // Reserves exactly what a music of `frames` sample frames needs, so the arrays
    // never over-allocate when the announced length is right.
    void reserve(std::size_t frames);

    // Where the arrays reserved for samples [0, `reservedFrames`) lie, one entry per
    // array: samples [a, b) land in bytes [a / blockSize, b / blockSize) of `data`.
    struct Region {
        const std::int8_t* data;
        std::size_t bytes;
        std::size_t blockSize;
    };
    std::vector<Region> regions() const;

    // Appends reduced samples (one value per channel and frame) and extends every
    // higher level by the blocks they complete. A block counts as complete once the
    // sample after it has arrived, so the last, partly or just filled block of each
    // level is never stored: n samples give floor((n - 1) / blockSize) entries.
    void append(const std::int8_t* left, const std::int8_t* right, std::size_t count);
    // The same for interleaved 16-bit frames of one or two channels, reduced straight
    // into level 1 (mono gives both sides the one channel).
    void appendFrames16(const std::int16_t* frames, int channels, std::size_t count);

    // Bytes held by all arrays (their capacity).
    std::size_t memoryBytes() const;

  private:
    void extendHigherLevels();
    void extendLevel2();
    void extendLevel(int k);

    std::array<Level, kPeakLevels> levels_;
};

} // namespace quillex
