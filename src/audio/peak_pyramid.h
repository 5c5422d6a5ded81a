// The waveform's peaks at 14 zoom levels. Level 1 shows every sample reduced to a
// signed byte; each higher level shows, per block of samples, the smallest and largest
// value of each channel (always including 0). The coarse levels are built once and
// stored; the fine ones cover so few samples per screen row that they are worked out
// from the samples when drawn, which saves most of the memory and of the building.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/audio_backend.h"
#include "audio/large_buffer.h"

namespace quillex {

inline constexpr int kPeakLevels = 14;

// Samples per block of each level; level 0 holds no data.
inline constexpr std::array<int, kPeakLevels> kLevelBlockSizes = {
    1, 1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096};

// Levels from this one on are stored; the ones below read at most 16 samples per
// block from the samples themselves.
inline constexpr int kFirstStoredLevel = 6;

// Widens a decoded sample to the signed byte the pyramid shows. `sample` is
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

// One block's extremes per channel, as the wave layer draws them.
struct PeakRange {
    std::int8_t leftMin = 0, leftMax = 0, rightMin = 0, rightMax = 0;
    friend bool operator==(const PeakRange&, const PeakRange&) = default;
};

class PeakPyramid {
  public:
    bool empty() const { return samples_ == 0; }
    // Samples seen so far.
    std::size_t sampleCount() const { return samples_; }
    // Blocks of level k there is something to show for: every sample at level 1; above
    // it a block counts once the sample after it has arrived, so the last, partly or
    // just filled block of each level is never shown: n samples give
    // floor((n - 1) / blockSize) blocks. The fine levels of a pyramid built from 16-bit
    // frames show nothing until it is given the decoded music (`readSamplesFrom`).
    std::size_t blockCount(int k) const;
    // The extremes of block `block` (below blockCount(k)) of level k. At level 1 a
    // channel's range runs from 0 to its sample.
    PeakRange range(int k, std::size_t block) const;

    // Empties every array and gives the memory back.
    void clear();
    // Reserves exactly what the stored levels of a music of `frames` sample frames
    // need, so they never over-allocate when the announced length is right.
    void reserve(std::size_t frames);
    // The same for the samples `append` keeps.
    void reserveSamples(std::size_t frames);

    // Where the arrays reserved so far lie, one entry per array: samples [a, b) land
    // in bytes [a / blockSize, b / blockSize) of `data`.
    struct Region {
        const std::int8_t* data;
        std::size_t bytes;
        std::size_t blockSize;
    };
    std::vector<Region> regions() const;

    // Appends reduced samples (one value per channel and frame), keeping them for the
    // fine levels, and extends the stored levels by the blocks they complete.
    void append(const std::int8_t* left, const std::int8_t* right, std::size_t count);
    // The same for interleaved 16-bit frames of one or two channels (mono gives both
    // sides the one channel), which are not kept: once every frame is in, the fine
    // levels read them from the decoded music handed to `readSamplesFrom`.
    void appendFrames16(const std::int16_t* frames, int channels, std::size_t count);
    // Shares the decoded music that `appendFrames16` was given, frame for frame.
    // Ignored when the pyramid keeps its own samples or the music is shorter.
    void readSamplesFrom(std::shared_ptr<const PcmData> music);

    // Bytes held by all arrays (their capacity); the shared decoded music is the
    // player's and not counted.
    std::size_t memoryBytes() const;

  private:
    // One stored level's four arrays, one entry per block. A level holds every block
    // whose samples have all arrived, so it may run one past blockCount().
    struct Level {
        LargeBuffer<std::int8_t> leftMin, leftMax, rightMin, rightMax;
        std::size_t size() const { return leftMax.size(); }
    };

    PeakRange fineRange(int k, std::size_t block) const;
    // Adds `blocks` whole blocks of the first stored level, from reduced samples or from
    // 16-bit frames, then extends the levels above.
    void foldSamples(const std::int8_t* left, const std::int8_t* right, std::size_t blocks);
    void foldFrames16(const std::int16_t* frames, int channels, std::size_t blocks);
    // Makes room for `blocks` more entries at the first stored level; returns where
    // they start.
    std::size_t growFirstStoredLevel(std::size_t blocks);
    void extendHigherLevels();
    void extendLevel(int k);

    std::size_t samples_ = 0;
    // The samples `append` was given (empty after `appendFrames16`).
    LargeBuffer<std::int8_t> keptLeft_, keptRight_;
    // The frames of a block `appendFrames16` has begun but not finished.
    std::array<std::int16_t, 2 * kLevelBlockSizes[kFirstStoredLevel]> pendingFrames_{};
    std::size_t pendingCount_ = 0;
    std::shared_ptr<const PcmData> music_;
    std::array<Level, kPeakLevels> levels_;
};

} // namespace quillex
