#include "analysis/tf_runner.h"

#include "analysis/mono_mix.h"
#include "analysis/tf_transform.h"
#include "audio/wave_filter_channel.h"

namespace quillex {

namespace {

struct StopCheck : FilterProgress {
    explicit StopCheck(const std::function<bool()>& keepGoing) : keepGoing(keepGoing) {}
    bool advance(std::size_t) override { return !keepGoing || keepGoing(); }
    const std::function<bool()>& keepGoing;
};

} // namespace

std::vector<float> spectrogramSignal(const PcmData& music, const WaveFilterSettings* filter,
                                     const std::function<bool()>& keepGoing) {
    if (!filter)
        return monoMix(music);
    // Filtering is linear, so filtering the mix shows what the filtered channels hold.
    const auto n = static_cast<std::size_t>(music.frames());
    const auto channels = static_cast<std::size_t>(music.channels);
    std::vector<std::int16_t> mix(n), filtered(n);
    for (std::size_t i = 0; i < n; ++i) {
        int sum = 0;
        for (std::size_t c = 0; c < channels; ++c)
            sum += music.samples[i * channels + c];
        mix[i] = static_cast<std::int16_t>(sum / static_cast<int>(channels));
    }
    StopCheck stop(keepGoing);
    const FilterResult result = filterChannel(mix.data(), 1, n, *filter, filtered.data(), stop);
    if (result == FilterResult::Failed || result == FilterResult::Cancelled)
        return {};
    std::vector<float> signal(n);
    for (std::size_t i = 0; i < n; ++i)
        signal[i] = filtered[i] / 32768.0f;
    return signal;
}

void SpectrogramRunner::start(std::shared_ptr<const PcmData> music,
                              std::optional<WaveFilterSettings> filter, Observer observer) {
    worker_.start(
        [music = std::move(music), filter](const PostedWorker<TfPyramid>::Progress& progress)
            -> std::optional<std::shared_ptr<const TfPyramid>> {
            const std::function<bool()> keepGoing = [&progress] { return progress(0); };
            if (!music || music->frames() == 0)
                return nullptr;
            const std::vector<float> signal =
                spectrogramSignal(*music, filter ? &*filter : nullptr, keepGoing);
            if (signal.empty())
                return keepGoing() ? std::optional(nullptr) : std::nullopt;
            auto pyramid = buildTfPyramid(signal, music->frequency,
                                          [&progress](std::size_t done, std::size_t total) {
                                              return progress(static_cast<double>(done) / total);
                                          });
            if (!pyramid)
                return std::nullopt;
            return pyramid;
        },
        std::move(observer));
}

} // namespace quillex
