#include "analysis/mono_mix.h"

namespace quillex {

std::vector<float> monoMix(const PcmData& music) {
    const auto frames = static_cast<std::size_t>(music.frames());
    const auto channels = static_cast<std::size_t>(music.channels);
    std::vector<float> mono(frames);
    if (channels == 0)
        return mono;
    const float scale = 1.0f / (32768.0f * static_cast<float>(channels));
    const std::int16_t* in = music.samples.data();
    for (std::size_t i = 0; i < frames; ++i) {
        int sum = 0;
        for (std::size_t c = 0; c < channels; ++c)
            sum += in[i * channels + c];
        mono[i] = static_cast<float>(sum) * scale;
    }
    return mono;
}

} // namespace quillex
