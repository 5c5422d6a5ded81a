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

PeakWorker::Chunk& PeakWorker::acquire() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !free_.empty(); });
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

void PeakWorker::mapInStoredLevels() {
    for (const PeakPyramid::Region& r : peaks_.regions())
        if (r.blockSize > 1)
            prefaultPages(r.data, r.bytes);
}

void PeakWorker::run() {
    mapInStoredLevels();
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
