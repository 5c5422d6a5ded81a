// Builds the spectrogram of the music on a worker thread for the editor's spectrogram
// layer, from the music as decoded or as the wave filter filters it. The worker reads
// only the decoded music it was handed; progress and the finished pyramid reach the
// main thread as posted tasks. Cancel, a new run and destruction stop the worker and
// wait for it first; reports of a stopped run are dropped.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/posted_worker.h"
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
    using Post = PostedWorker<TfPyramid>::Post;
    // A finished build gives null when the signal could not be made.
    using Observer = PostedWorker<TfPyramid>::Observer;

    explicit SpectrogramRunner(Post post) : worker_(std::move(post)) {}

    // Cancels any run and starts one over `music`, filtered when `filter` is given.
    void start(std::shared_ptr<const PcmData> music, std::optional<WaveFilterSettings> filter,
               Observer observer);
    // Stops a running run and waits for its worker.
    void cancel() { worker_.cancel(); }
    bool running() const { return worker_.running(); }

  private:
    PostedWorker<TfPyramid> worker_;
};

} // namespace quillex
