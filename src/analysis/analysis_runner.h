// Runs a music analysis on a worker thread for the editor's sync dialogs. The worker
// reads only the decoded music it was handed and the cache; whatever it reports
// (progress, the finished analysis) reaches the main thread as posted tasks, so the
// item store is only ever touched there. Cancel, a new run and destruction stop the
// worker and wait for it first; reports of a stopped run are dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "analysis/music_analysis.h"

namespace quillex {

class AnalysisRunner {
  public:
    // Runs a task on the main thread later; may be called from any thread. Tasks posted
    // after the runner is destroyed must be dropped by the poster.
    using Post = std::function<void(std::function<void()>)>;
    struct Observer {
        // The whole percentage done, sent only when it changes.
        std::function<void(int percent)> percent;
        // The run has ended (never called for a cancelled run). No candidates in the
        // analysis means no rhythm was found: say kNoRhythmMessage.
        std::function<void(std::shared_ptr<const MusicAnalysis>)> finished;
    };

    AnalysisRunner(Post post, std::filesystem::path cacheDirectory)
        : post_(std::move(post)), cache_(std::move(cacheDirectory)) {}
    ~AnalysisRunner() { cancel(); }
    AnalysisRunner(const AnalysisRunner&) = delete;
    AnalysisRunner& operator=(const AnalysisRunner&) = delete;

    // Cancels any run and starts one over `music`.
    void start(std::shared_ptr<const PcmData> music, Observer observer);
    // Stops a running run and waits for its worker.
    void cancel();
    bool running() const { return worker_.joinable() && !done_->load(); }

  private:
    void reportPercent(std::uint64_t run, int percent);
    void finish(std::uint64_t run, std::shared_ptr<const MusicAnalysis> analysis);

    Post post_;
    AnalysisCache cache_;
    Observer observer_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> done_ = std::make_shared<std::atomic<bool>>(true);
    std::thread worker_;
    std::uint64_t run_ = 0; // the run whose reports count; main thread only
};

} // namespace quillex
