#include "view/sonogram_look.h"

#include <algorithm>
#include <cmath>

#include "analysis/tf_pyramid.h"
#include "audio/wave_view.h"

namespace quillex {

namespace {

// A polynomial fit of the perceptually uniform dark-blue-green-yellow map, per channel.
constexpr std::array<std::array<double, 7>, 3> kMapFit{{
    {0.2777273272234177, 0.1050930431085774, -0.3308618287255563, -4.634230498983486,
     6.228269936347081, 4.776384997670288, -5.435455855934631},
    {0.005407344544966578, 1.404613529898575, 0.214847559468213, -5.799100973351585,
     14.17993336680509, -13.74514537774601, 4.645852612178535},
    {0.3340998053353061, 1.384590162594685, 0.09509516302823659, -19.33244095627987,
     56.69055260068105, -65.35303263337234, 26.3124352495832},
}};

std::uint32_t mapColour(double t) {
    std::uint32_t argb = 0xff000000u;
    for (int channel = 0; channel < 3; ++channel) {
        const auto& c = kMapFit[static_cast<std::size_t>(channel)];
        double v = 0;
        for (int k = 6; k >= 0; --k)
            v = v * t + c[static_cast<std::size_t>(k)];
        const auto byte = static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
        argb |= byte << (16 - 8 * channel);
    }
    return argb;
}

} // namespace

SpectrogramPalette spectrogramPalette(int rangeDb) {
    const double range = std::clamp(rangeDb, kMinSpectrogramRangeDb, kMaxSpectrogramRangeDb);
    SpectrogramPalette palette{};
    for (int level = 0; level < 256; ++level) {
        const double below = kSpectrogramTopDb - tfLevelDb(static_cast<std::uint8_t>(level));
        palette[static_cast<std::size_t>(level)] =
            mapColour(std::clamp(1.0 - below / range, 0.0, 1.0));
    }
    return palette;
}

SpectrogramSpan spectrogramSpan(const WaveView& wave, bool besideWave) {
    return {wave.waveX - 128, besideWave ? wave.waveX + 128 : wave.waveX + 428};
}

std::vector<FrequencyMark> spectrogramFrequencyMarks(int sampleRate, SpectrogramSpan span) {
    std::vector<FrequencyMark> marks;
    if (sampleRate <= 0)
        return marks;
    const TfBands bands(sampleRate);
    const int width = span.right - span.left;
    for (const auto& [hz, label] : {std::pair{100.0, "100"}, {1000.0, "1k"}, {10000.0, "10k"}}) {
        const double at = bands.position(hz);
        // A pixel shows the band position (x + 0.5) * kTfBands / width.
        if (at >= 0 && at <= kTfBands)
            marks.push_back(
                {span.left + static_cast<int>(std::floor(at * width / kTfBands)), label});
    }
    return marks;
}

} // namespace quillex
