#include "audio/peak_worker.h"

#include <new>

#include "audio/large_buffer.h"

namespace quillex {

PeakWorker::PeakWorker(PeakPyramid& peaks) : peaks_(peaks) {
    for (Chunk& c : chunks_)
        free_.push_back(&c);
    thread_ = std::thread([this] { run(); });
}

PeakWorker::~PeakWorker() {
    finish();
}

PeakWorker::Chunk& PeakWorker::acquire(const std::function<bool()>& whileWaiting) {
    std::unique_lock lock(mutex_);
    bool working = static_cast<bool>(whileWaiting);
    while (free_.empty()) {
        if (working) {
            lock.unlock();
            working = whileWaiting();
            lock.lock();
        } else {
            changed_.wait(lock);
        }
    }
    Chunk* chunk = free_.front();
    free_.pop_front();
    return *chunk;
}

void PeakWorker::submit(Chunk& chunk) {
    bool wake;
    {
        std::lock_guard lock(mutex_);
        ready_.push_back(&chunk);
        wake = ready_.size() >= kWakeBatch;
    }
    if (wake)
        changed_.notify_all();
}

void PeakWorker::drain() {
    std::unique_lock lock(mutex_);
    changed_.notify_all(); // chunks short of a batch may still be waiting
    changed_.wait(lock, [this] { return free_.size() == chunks_.size(); });
}

bool PeakWorker::finish() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    return !failed_;
}

void PeakWorker::mapInCoarseLevels() {
    for (const PeakPyramid::Region& r : peaks_.regions())
        if (r.blockSize >= kCoarseBlockSize)
            prefaultPages(r.data, r.bytes);
}

void PeakWorker::run() {
    mapInCoarseLevels();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !ready_.empty() || closing_; });
        if (ready_.empty())
            return;
        Chunk* chunk = ready_.front();
        ready_.pop_front();
        lock.unlock();
        if (!failed_) {
            try {
                if (chunk->frames)
                    peaks_.appendFrames16(chunk->frames, chunk->channels, chunk->count);
                else
                    peaks_.append(chunk->left.data(), chunk->right.data(), chunk->count);
            } catch (const std::bad_alloc&) {
                failed_ = true;
            }
        }
        lock.lock();
        free_.push_back(chunk);
        changed_.notify_all();
    }
}

} // namespace quillex
