// Runs a music analysis on a worker thread for the editor's sync dialogs. The worker
// reads only the decoded music it was handed and the cache; whatever it reports
// (progress, the finished analysis) reaches the main thread as posted tasks, so the
// item store is only ever touched there. Cancel, a new run and destruction stop the
// worker and wait for it first; reports of a stopped run are dropped.
#pragma once

#include <filesystem>
#include <memory>

#include "analysis/music_analysis.h"
#include "analysis/posted_worker.h"

namespace quillex {

class AnalysisRunner {
  public:
    using Post = PostedWorker<MusicAnalysis>::Post;
    // A finished analysis without candidates means no rhythm was found: say
    // kNoRhythmMessage.
    using Observer = PostedWorker<MusicAnalysis>::Observer;

    AnalysisRunner(Post post, std::filesystem::path cacheDirectory)
        : cache_(std::move(cacheDirectory)), worker_(std::move(post)) {}

    // Cancels any run and starts one over `music`.
    void start(std::shared_ptr<const PcmData> music, Observer observer);
    // Stops a running run and waits for its worker.
    void cancel() { worker_.cancel(); }
    bool running() const { return worker_.running(); }

  private:
    AnalysisCache cache_;
    PostedWorker<MusicAnalysis> worker_; // last: its worker stops before the cache goes
};

} // namespace quillex
