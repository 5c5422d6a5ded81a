// The music's spectrogram as a pyramid of columns, like the wave's peak pyramid: one
// column per block of samples, each a row of log-spaced frequency bands (about 30 Hz
// to 16 kHz) holding the loudest bin's level in half decibels. The finest stored level
// has a column per 1024 samples (a Hann window of 2048 centred on the block); each
// coarser level keeps the louder of two neighbouring columns, band by band, so a short
// drum hit stays visible at every zoom. Zoom levels finer than a column draw the
// finest column stretched: a transform cannot resolve time better than its window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillex {

inline constexpr int kTfBands = 80;
inline constexpr int kTfWindow = 2048;
inline constexpr int kTfBaseHop = 1024;
inline constexpr int kTfStoredLevels = 3; // columns of 1024, 2048 and 4096 samples
inline constexpr double kTfLowestHz = 30.0;
inline constexpr double kTfHighestHz = 16000.0;

// A band's level is stored as a byte: half decibels above kTfFloorDb (0 dB is a
// full-scale sine), so 0..255 covers -120 dB .. +7.5 dB.
inline constexpr double kTfFloorDb = -120.0;
inline constexpr double kTfStepsPerDb = 2.0;
std::uint8_t tfLevelByte(double decibels);
double tfLevelDb(std::uint8_t level);

// Which frequencies the bands cover at a sample rate (the top band ends at 16 kHz or
// just below half the rate, whichever is lower), and how a band's level is read from
// the bins of a kTfWindow transform: the loudest bin whose centre lies in the band, or
// for a band narrower than a bin (the low ones) the level between the two bins around
// its centre, so neighbouring narrow bands still differ.
class TfBands {
  public:
    explicit TfBands(int sampleRate);
    double lowHz(int band) const;
    double highHz(int band) const { return lowHz(band + 1); }
    // The band holding `hz`, -1 outside them all.
    int bandOf(double hz) const;
    // Where `hz` lies across the bands on their log scale: 0 at the lowest band's low
    // edge, b + 0.5 at band b's centre, kTfBands at the top band's high edge.
    double position(double hz) const;
    // The band's magnitude from a transform's bin magnitudes (up to lastBin()).
    float magnitude(int band, const float* bins) const;
    // The highest bin any band reads.
    int lastBin() const { return lastBin_; }

  private:
    struct BinRange {
        int first, last;  // bins inside the band, when first <= last
        double centreBin; // otherwise: where the band's centre lies between bins
    };
    double lowest_, ratio_;
    std::array<BinRange, kTfBands> bins_{};
    int lastBin_ = 0;
};

class TfPyramid {
  public:
    // Room for the columns of `frames` sample frames, every level zeroed (silence).
    TfPyramid(int sampleRate, std::size_t frames);

    // Different for every pyramid made, so a drawing cache never mistakes a new pyramid
    // at a freed one's address for the old.
    std::uint64_t serial() const { return serial_; }
    int sampleRate() const { return sampleRate_; }
    std::size_t frames() const { return frames_; }
    static constexpr int hop(int level) { return kTfBaseHop << level; }
    std::size_t columnCount(int level) const;
    const std::uint8_t* column(int level, std::size_t index) const;
    // The stored level a zoom of `samplesPerRow` draws from: the coarsest whose
    // columns are no longer than a row, the finest when rows are shorter still.
    static int levelFor(int samplesPerRow);

    // The finest level's column `index`, for the builder to fill.
    std::uint8_t* baseColumn(std::size_t index);
    // Fills the coarser levels from the finest one.
    void buildCoarserLevels();

    // Bytes held by all levels.
    std::size_t memoryBytes() const;

  private:
    std::uint64_t serial_;
    int sampleRate_;
    std::size_t frames_;
    std::array<std::vector<std::uint8_t>, kTfStoredLevels> levels_;
};

} // namespace quillex
