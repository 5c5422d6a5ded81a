#include "audio/wave_filter.h"

#include <algorithm>
#include <vector>

namespace quillex {

namespace {

// Samples reduced and added to the pyramid per step of the peak build.
constexpr std::size_t kPeakChunk = 1 << 16;

// A filtered channel: mapped like the other per-song arrays (huge pages, no filling),
// and freed without walking its elements, so a cancelled run ends at once in any build.
struct SampleArray {
    explicit SampleArray(std::size_t n)
        : data(LargeBufferAllocator<std::int16_t>().allocate(n)), size(n) {}
    ~SampleArray() { LargeBufferAllocator<std::int16_t>().deallocate(data, size); }
    SampleArray(const SampleArray&) = delete;
    SampleArray& operator=(const SampleArray&) = delete;
    std::int16_t* data;
    std::size_t size;
};

} // namespace

// One run, shared by the worker and the thread filtering the second channel.
struct WaveFilter::Run : FilterProgress {
    WaveFilter* owner;
    Post post;
    std::uint64_t id;
    std::shared_ptr<const PcmData> music;
    WaveFilterSettings settings;
    std::shared_ptr<std::atomic<bool>> cancel;
    std::atomic<std::size_t> done{0};
    std::atomic<int> percent{0};
    double total = 0;

    bool cancelled() const { return cancel->load(std::memory_order_relaxed); }

    bool advance(std::size_t samples) override {
        const std::size_t now = done.fetch_add(samples, std::memory_order_relaxed) + samples;
        const int p = static_cast<int>(static_cast<double>(now) / total * 100.0);
        int old = percent.load(std::memory_order_relaxed);
        while (p > old) {
            if (percent.compare_exchange_weak(old, p)) {
                post([o = owner, i = id, p] { o->reportPercent(i, p); });
                break;
            }
        }
        return !cancelled();
    }

    void scaling() override { message("Scaling..."); }

    void message(std::string_view text) {
        post([o = owner, i = id, text] {
            if (o->run_ == i && o->observer_.message)
                o->observer_.message(text);
        });
    }

    FilterResult execute(std::shared_ptr<PeakPyramid>& peaks) {
        const auto n = static_cast<std::size_t>(music ? music->frames() : 0);
        if (n == 0)
            return FilterResult::Failed;
        total = 3.0 * static_cast<double>(n);
        const std::int16_t* frames = music->samples.data();
        const int channels = music->channels;
        const SampleArray leftSamples(n), rightSamples(n);
        std::int16_t* left = leftSamples.data;
        std::int16_t* right = rightSamples.data;
        message("Filtering (L)...");
        FilterResult l = FilterResult::Done, r = FilterResult::Done;
        std::thread second;
        if (channels == 2)
            second =
                std::thread([&] { r = filterChannel(frames + 1, 2, n, settings, right, *this); });
        l = filterChannel(frames, channels, n, settings, left, *this);
        if (second.joinable()) {
            if (!cancelled() && l != FilterResult::Failed)
                message("Filtering (R)...");
            second.join();
        } else if (l == FilterResult::Done || l == FilterResult::Warning) {
            std::copy(left, left + n, right);
            advance(n);
        }
        if (l == FilterResult::Failed || r == FilterResult::Failed)
            return FilterResult::Failed;
        if (l == FilterResult::Cancelled || r == FilterResult::Cancelled || cancelled())
            return FilterResult::Cancelled;

        message("Building Peaks...");
        auto built = std::make_shared<PeakPyramid>();
        built->reserve(n);
        built->reserveSamples(n);
        std::vector<std::int8_t> l8(kPeakChunk), r8(kPeakChunk);
        for (std::size_t i0 = 0; i0 < n; i0 += kPeakChunk) {
            const std::size_t count = std::min(kPeakChunk, n - i0);
            for (std::size_t i = 0; i < count; ++i) {
                l8[i] = reduceSample16(left[i0 + i]);
                r8[i] = reduceSample16(right[i0 + i]);
            }
            built->append(l8.data(), r8.data(), count);
            if (!advance(count))
                return FilterResult::Cancelled;
        }
        peaks = std::move(built);
        return l == FilterResult::Warning || r == FilterResult::Warning ? FilterResult::Warning
                                                                        : FilterResult::Done;
    }
};

void WaveFilter::start(std::shared_ptr<const PcmData> music, const WaveFilterSettings& settings,
                       Observer observer) {
    discard();
    ++run_;
    percent_ = 0;
    observer_ = std::move(observer);
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    auto run = std::make_shared<Run>();
    run->owner = this;
    run->post = post_;
    run->id = run_;
    run->music = std::move(music);
    run->settings = settings;
    run->cancel = cancel_;
    worker_ = std::thread([run] {
        std::shared_ptr<PeakPyramid> peaks;
        const FilterResult result = run->execute(peaks);
        if (!run->cancelled())
            run->post(
                [o = run->owner, i = run->id, result, peaks] { o->finish(i, result, peaks); });
    });
}

void WaveFilter::cancel() {
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    cancel_.reset();
    ++run_; // reports of the stopped run still queued are ignored
}

void WaveFilter::discard() {
    cancel();
    peaks_.reset();
}

void WaveFilter::reportPercent(std::uint64_t run, int percent) {
    if (run != run_ || percent <= percent_)
        return;
    percent_ = percent;
    if (observer_.percent)
        observer_.percent(percent);
}

void WaveFilter::finish(std::uint64_t run, FilterResult result,
                        std::shared_ptr<const PeakPyramid> peaks) {
    if (run != run_)
        return;
    worker_.join(); // it posted this as its last act
    cancel_.reset();
    if (result == FilterResult::Done || result == FilterResult::Warning)
        peaks_ = std::move(peaks);
    if (observer_.finished)
        observer_.finished(result);
}

} // namespace quillex
