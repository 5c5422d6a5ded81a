// Builds a peak pyramid on a second thread while the music is still being decoded:
// the decoding thread hands over each chunk of frames, the worker reduces it to signed
// bytes and appends it to the pyramid. Opening a song then costs little more than
// decoding it.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "audio/peak_pyramid.h"

namespace quillex {

class PeakWorker {
  public:
    static constexpr std::size_t kChunkFrames = 16384;
    // Either 16-bit frames for the worker to reduce (`frames` set; they must stay in
    // place until the worker is done with them), or samples already reduced into
    // `left` and `right`.
    struct Chunk {
        std::array<std::int8_t, kChunkFrames> left;
        std::array<std::int8_t, kChunkFrames> right;
        const std::int16_t* frames = nullptr;
        int channels = 1;
        std::size_t count = 0;
    };

    explicit PeakWorker(PeakPyramid& peaks);
    ~PeakWorker();
    PeakWorker(const PeakWorker&) = delete;
    PeakWorker& operator=(const PeakWorker&) = delete;

    // A chunk to fill. While every chunk is still queued for the worker, calls
    // `whileWaiting` (when given) until it returns false, then waits.
    Chunk& acquire(const std::function<bool()>& whileWaiting = {});
    // Queues a filled chunk (its `count` set) for the pyramid.
    void submit(Chunk& chunk);
    // Waits until the worker has taken in every chunk queued so far.
    void drain();
    // Waits until every queued chunk is in the pyramid. False when the pyramid could
    // not grow (out of memory).
    bool finish();

  private:
    // The worker sleeps until this many chunks are queued (or the decoding thread
    // drains or finishes), rather than waking for every chunk of a decoder slower
    // than itself.
    static constexpr std::size_t kWakeBatch = 4;
    // Levels whose blocks span this many samples or more get less than a page per
    // chunk, so the decoding thread's mapping ahead (see PeakFeeder) never reaches
    // them, and page by page each would cost the worker a fault of its own.
    static constexpr std::size_t kCoarseBlockSize = 8;

    void run();
    // Maps in the coarse levels' reserved memory in one go, while the first chunks
    // are still being decoded.
    void mapInCoarseLevels();

    PeakPyramid& peaks_;
    // Enough chunks that the worker always has some queued while the decoding thread is
    // busy mapping in a large page (see PeakFeeder); the reduced-sample arrays of a
    // chunk are only touched for samples wider than 16 bits.
    std::array<Chunk, 32> chunks_;
    std::deque<Chunk*> free_;
    std::deque<Chunk*> ready_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool closing_ = false;
    bool failed_ = false;
    std::thread thread_;
};

} // namespace quillex
