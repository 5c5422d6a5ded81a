#include "analysis/analysis_runner.h"

namespace quillex {

void AnalysisRunner::start(std::shared_ptr<const PcmData> music, Observer observer) {
    cancel();
    const std::uint64_t run = ++run_;
    observer_ = std::move(observer);
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    done_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = std::thread([this, run, music = std::move(music), cancel = cancel_, done = done_,
                           post = post_, cache = cache_] {
        int lastPercent = -1;
        const AnalysisProgress progress = [&](double share) {
            const int percent = static_cast<int>(share * 100);
            if (percent != lastPercent) {
                lastPercent = percent;
                post([this, run, percent] { reportPercent(run, percent); });
            }
            return !cancel->load(std::memory_order_relaxed);
        };
        auto analysis = music ? analyseMusic(*music, &cache, progress)
                              : std::optional<MusicAnalysis>(MusicAnalysis{});
        done->store(true);
        if (!analysis || cancel->load())
            return;
        auto shared = std::make_shared<const MusicAnalysis>(std::move(*analysis));
        post([this, run, shared] { finish(run, shared); });
    });
}

void AnalysisRunner::cancel() {
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    ++run_;
}

void AnalysisRunner::reportPercent(std::uint64_t run, int percent) {
    if (run == run_ && observer_.percent)
        observer_.percent(percent);
}

void AnalysisRunner::finish(std::uint64_t run, std::shared_ptr<const MusicAnalysis> analysis) {
    if (run != run_)
        return;
    if (worker_.joinable())
        worker_.join();
    if (observer_.finished)
        observer_.finished(std::move(analysis));
}

} // namespace quillex
