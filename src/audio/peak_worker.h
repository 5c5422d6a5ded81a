// Builds a peak pyramid on a second thread while music wider than 16 bits is still
// being decoded: the decoding thread reduces each chunk of frames to signed bytes and
// hands it over, the worker appends it to the pyramid.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "audio/peak_pyramid.h"

namespace quillex {

class PeakWorker {
  public:
    static constexpr std::size_t kChunkFrames = 16384;
    // Samples already reduced into `left` and `right`.
    struct Chunk {
        std::array<std::int8_t, kChunkFrames> left;
        std::array<std::int8_t, kChunkFrames> right;
        std::size_t count = 0;
    };

    explicit PeakWorker(PeakPyramid& peaks);
    ~PeakWorker();
    PeakWorker(const PeakWorker&) = delete;
    PeakWorker& operator=(const PeakWorker&) = delete;

    // A chunk to fill; waits while every chunk is still queued for the worker.
    Chunk& acquire();
    // Queues a filled chunk (its `count` set) for the pyramid.
    void submit(Chunk& chunk);
    // Waits until every queued chunk is in the pyramid. False when the pyramid could
    // not grow (out of memory).
    bool finish();

  private:
    // The worker sleeps until this many chunks are queued (or the decoding thread
    // finishes), rather than waking for every chunk of a decoder slower than itself.
    static constexpr std::size_t kWakeBatch = 4;

    void run();
    // Maps in the stored levels' reserved memory in one go, while the first chunks are
    // still being decoded: they get less than a page per chunk, and page by page each
    // would cost a fault of its own.
    void mapInStoredLevels();

    PeakPyramid& peaks_;
    // Enough chunks that the decoding thread seldom waits for the worker.
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
