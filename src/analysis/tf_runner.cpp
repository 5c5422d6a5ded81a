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
    cancel();
    const std::uint64_t run = ++run_;
    observer_ = std::move(observer);
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    done_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = std::thread([this, run, music = std::move(music), filter, cancel = cancel_,
                           done = done_, post = post_] {
        const std::function<bool()> keepGoing = [&cancel] {
            return !cancel->load(std::memory_order_relaxed);
        };
        int lastPercent = -1;
        const TfProgress progress = [&](std::size_t columns, std::size_t total) {
            const int percent = total ? static_cast<int>(100 * columns / total) : 100;
            if (percent != lastPercent) {
                lastPercent = percent;
                post([this, run, percent] { reportPercent(run, percent); });
            }
            return keepGoing();
        };
        std::shared_ptr<const TfPyramid> pyramid;
        if (music && music->frames() > 0) {
            const std::vector<float> signal =
                spectrogramSignal(*music, filter ? &*filter : nullptr, keepGoing);
            if (!signal.empty())
                pyramid = buildTfPyramid(signal, music->frequency, progress);
        }
        done->store(true);
        if (cancel->load())
            return;
        post([this, run, pyramid] { finish(run, pyramid); });
    });
}

void SpectrogramRunner::cancel() {
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    ++run_;
}

void SpectrogramRunner::reportPercent(std::uint64_t run, int percent) {
    if (run == run_ && observer_.percent)
        observer_.percent(percent);
}

void SpectrogramRunner::finish(std::uint64_t run, std::shared_ptr<const TfPyramid> pyramid) {
    if (run != run_)
        return;
    if (worker_.joinable())
        worker_.join();
    if (observer_.finished)
        observer_.finished(std::move(pyramid));
}

} // namespace quillex
