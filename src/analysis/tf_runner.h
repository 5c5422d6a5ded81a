// Builds the spectrogram of the music on a worker thread for the editor's spectrogram
// layer, from the music as decoded or as the wave filter filters it. The worker reads
// only the decoded music it was handed; progress and the finished pyramid reach the
// main thread as posted tasks. Cancel, a new run and destruction stop the worker and
// wait for it first; reports of a stopped run are dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "analysis/tf_pyramid.h"
#include "audio/audio_backend.h"
#include "audio/wave_filter_design.h"

namespace quillex {

// The signal a spectrogram shows: the music mixed to one channel (full scale 1),
// through the wave filter when `filter` is given. Empty when `keepGoing` said stop or
// the filter could not run (music too short for it).
std::vector<float> spectrogramSignal(const PcmData& music, const WaveFilterSettings* filter,
                                     const std::function<bool()>& keepGoing);

class SpectrogramRunner {
  public:
    // Runs a task on the main thread later; may be called from any thread. Tasks posted
    // after the runner is destroyed must be dropped by the poster.
    using Post = std::function<void(std::function<void()>)>;
    struct Observer {
        // The whole percentage done, sent only when it changes.
        std::function<void(int percent)> percent;
        // The run has ended (never called for a cancelled run); null when the signal
        // could not be made.
        std::function<void(std::shared_ptr<const TfPyramid>)> finished;
    };

    explicit SpectrogramRunner(Post post) : post_(std::move(post)) {}
    ~SpectrogramRunner() { cancel(); }
    SpectrogramRunner(const SpectrogramRunner&) = delete;
    SpectrogramRunner& operator=(const SpectrogramRunner&) = delete;

    // Cancels any run and starts one over `music`, filtered when `filter` is given.
    void start(std::shared_ptr<const PcmData> music, std::optional<WaveFilterSettings> filter,
               Observer observer);
    // Stops a running run and waits for its worker.
    void cancel();
    bool running() const { return worker_.joinable() && !done_->load(); }

  private:
    void reportPercent(std::uint64_t run, int percent);
    void finish(std::uint64_t run, std::shared_ptr<const TfPyramid> pyramid);

    Post post_;
    Observer observer_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> done_ = std::make_shared<std::atomic<bool>>(true);
    std::thread worker_;
    std::uint64_t run_ = 0; // the run whose reports count; main thread only
};

} // namespace quillex
