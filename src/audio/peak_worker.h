// Builds a peak pyramid on a second thread while the music is still being decoded:
// the decoding thread reduces each chunk of frames to signed bytes and hands it over,
// the worker appends it to the pyramid. Opening a song then costs little more than
// decoding it.
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
    void run();

    PeakPyramid& peaks_;
    std::array<Chunk, 4> chunks_;
    std::deque<Chunk*> free_;
    std::deque<Chunk*> ready_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool closing_ = false;
    bool failed_ = false;
    std::thread thread_;
};

} // namespace quillex
