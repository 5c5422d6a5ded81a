// The wave filter: a filtered copy of the loaded music, reduced to a second peak
// pyramid that the wave layer draws over (or instead of) the music's own. A run
// filters the decoded frames the player already holds on a worker thread (the two
// channels side by side) and builds the pyramid there; whatever it reports reaches
// the main thread as posted tasks, and the finished pyramid is handed over only then,
// so the main thread never sees a half-built wave and the worker never writes into
// anything the main thread frees. Cancel, a new run, a discard and destruction all
// stop the worker and wait for it first.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>

#include "audio/audio_backend.h"
#include "audio/peak_pyramid.h"
#include "audio/wave_filter_channel.h"

namespace quillex {

inline constexpr std::string_view kFilterWarningMessage =
    "Your filter settings do not work well with this song. You may\n"
    "want to change the filter settings, or use another song.";
inline constexpr std::string_view kFilterFailedMessage =
    "The filtering failed.  Perhaps the music is too short.";

class WaveFilter {
  public:
    // Runs a task on the main thread later. It may be called from any thread; tasks
    // posted after the filter is destroyed must be dropped by the poster.
    using Post = std::function<void(std::function<void()>)>;
    // What a run tells the main thread (each called there, through `Post`).
    struct Observer {
        std::function<void(std::string_view message)> message;
        // The whole percentage done, sent only when it changes.
        std::function<void(int percent)> percent;
        // The run has ended (never called for a run that was cancelled from here).
        std::function<void(FilterResult result)> finished;
    };

    explicit WaveFilter(Post post) : post_(std::move(post)) {}
    ~WaveFilter() { cancel(); }
    WaveFilter(const WaveFilter&) = delete;
    WaveFilter& operator=(const WaveFilter&) = delete;

    // Discards the filtered wave and starts a run over `music` on a new worker thread.
    void start(std::shared_ptr<const PcmData> music, const WaveFilterSettings& settings,
               Observer observer);
    // Stops a running run and waits for its worker; the run leaves nothing behind.
    void cancel();
    // Cancels any run and frees the filtered wave (a music load or unload, the filter
    // switched off).
    void discard();

    bool running() const { return worker_.joinable(); }
    // The filtered wave, null while none is available (including during a run).
    const PeakPyramid* peaks() const { return peaks_.get(); }

  private:
    struct Run;
    void reportPercent(std::uint64_t run, int percent);
    void finish(std::uint64_t run, FilterResult result, std::shared_ptr<const PeakPyramid> peaks);

    Post post_;
    Observer observer_;
    std::shared_ptr<const PeakPyramid> peaks_;
    int percent_ = 0;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread worker_;
    std::uint64_t run_ = 0; // the run whose reports count; main thread only
};

} // namespace quillex
