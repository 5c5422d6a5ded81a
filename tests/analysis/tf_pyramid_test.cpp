// The spectrogram pyramid on generated signals: a chirp's ridge follows its frequency,
// a tone's level lands in its band at every zoom, the wave filter's signal is what it
// shows, and a stopped build leaves nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/tf_runner.h"
#include "analysis/tf_transform.h"
#include "audio/wave_view.h"

namespace quillex {
namespace {

constexpr int kRate = 44100;

// The loudest band of a column.
int ridge(const std::uint8_t* column) {
    return static_cast<int>(std::max_element(column, column + kTfBands) - column);
}

std::vector<float> tone(double hz, double amplitude, double seconds) {
    std::vector<float> signal(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate));
    return signal;
}

TEST(TfPyramid, ChirpRidgeFollowsItsFrequency) {
    // An exponential sweep from 50 Hz to 12.8 kHz over eight seconds.
    const double seconds = 8, f0 = 50, f1 = 12800;
    const double rate = std::log(f1 / f0) / seconds;
    std::vector<float> chirp(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < chirp.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        chirp[i] = static_cast<float>(
            0.5 * std::sin(2 * std::numbers::pi * f0 * (std::exp(rate * t) - 1) / rate));
    }
    const auto pyramid = buildTfPyramid(chirp, kRate, {});
    ASSERT_TRUE(pyramid);
    const TfBands bands(kRate);
    // The ridge's band holds the frequency, give or take what the transform resolves: a
    // bin, or the frequency's change within the window.
    const double binHz = static_cast<double>(kRate) / kTfWindow;
    for (std::size_t c = 8; c + 8 < pyramid->columnCount(0); c += 16) {
        const double centre = static_cast<double>(c * kTfBaseHop + kTfBaseHop / 2) / kRate;
        const double hz = f0 * std::exp(rate * centre);
        const double slack = std::max(binHz, hz * rate * kTfWindow / kRate / 2);
        const int band = ridge(pyramid->column(0, c));
        EXPECT_LE(bands.lowHz(band) - slack, hz) << "at " << centre << " s";
        EXPECT_GE(bands.highHz(band) + slack, hz) << "at " << centre << " s";
    }
}

TEST(TfPyramid, ToneLandsInItsBandAtEveryZoom) {
    const TfBands bands(kRate);
    for (int band : {20, 45, 70}) {
        const double hz = std::sqrt(bands.lowHz(band) * bands.highHz(band));
        const auto pyramid = buildTfPyramid(tone(hz, 0.5, 4), kRate, {});
        ASSERT_TRUE(pyramid);
        for (int zoom = 1; zoom < kPeakLevels; ++zoom) {
            const int level = TfPyramid::levelFor(kLevelBlockSizes[static_cast<std::size_t>(zoom)]);
            const std::uint8_t* column = pyramid->column(level, pyramid->columnCount(level) / 2);
            EXPECT_EQ(ridge(column), band) << hz << " Hz at zoom " << zoom;
            EXPECT_NEAR(tfLevelDb(column[band]), 20 * std::log10(0.5), 1.5) << hz << " Hz";
            EXPECT_LT(tfLevelDb(column[band > 40 ? 5 : 75]), -80) << hz << " Hz far away";
        }
        // At most 16 bytes per 1,000 frames for each of the 13 zoom levels.
        EXPECT_LE(pyramid->memoryBytes(), pyramid->frames() * 16 * 13 / 1000);
    }
}

TEST(TfPyramid, FilteredSignalLosesWhatTheFilterRemoves) {
    // 8 kHz and 100 Hz together; the strongest low-pass keeps only the low one.
    std::vector<float> high = tone(8000, 0.4, 2), low = tone(100, 0.4, 2);
    PcmData music;
    music.channels = 2;
    music.frequency = kRate;
    for (std::size_t i = 0; i < high.size(); ++i)
        for (int channel = 0; channel < 2; ++channel)
            music.samples.push_back(static_cast<std::int16_t>((high[i] + low[i]) * 32767));
    const TfBands bands(kRate);
    WaveFilterSettings lowPass;
    lowPass.lowPass = true;
    auto levelsOf = [&](const WaveFilterSettings* filter) {
        const auto pyramid = buildTfPyramid(spectrogramSignal(music, filter, {}), kRate, {});
        const std::uint8_t* column = pyramid->column(0, pyramid->columnCount(0) / 2);
        return std::pair(tfLevelDb(column[bands.bandOf(8000)]),
                         tfLevelDb(column[bands.bandOf(100)]));
    };
    const auto [plainHigh, plainLow] = levelsOf(nullptr);
    const auto [filteredHigh, filteredLow] = levelsOf(&lowPass);
    EXPECT_NEAR(plainHigh, plainLow, 3);
    EXPECT_LT(filteredHigh, plainHigh - 30);
    EXPECT_GT(filteredLow, plainLow - 12); // rescaled to full range, so not much lower
}

TEST(TfPyramid, StoppedBuildLeavesNothing) {
    int calls = 0;
    const auto pyramid = buildTfPyramid(tone(440, 0.5, 30), kRate,
                                        [&](std::size_t, std::size_t) { return ++calls < 2; });
    EXPECT_FALSE(pyramid);
    EXPECT_GE(calls, 2);
}

} // namespace
} // namespace quillex
