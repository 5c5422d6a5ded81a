// The 1 ms input timer: a thread that calls its tick function on absolute deadlines
// of the steady clock, so key presses during playback are stamped precisely. While
// nothing needs the ticks (the music stopped, no key held) it rests: it waits for a
// longer period or until woken, so an idle editor does not wake a thousand times a
// second.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quillex {

class InputTimer {
  public:
    InputTimer() = default;
    ~InputTimer() { stop(); }
    InputTimer(const InputTimer&) = delete;
    InputTimer& operator=(const InputTimer&) = delete;

    // Starts calling `tick` every `period` on its own thread. A tick that runs late
    // is not made up for by a burst: the next deadline then follows from now.
    void start(std::chrono::microseconds period, std::function<void()> tick);
    // Stops the thread and waits for it; no tick runs after this returns.
    void stop();
    bool running() const { return thread_.joinable(); }

    // Set before start(): after a tick for which `resting` (called on the timer's
    // thread) is true, the next tick comes after `restPeriod` or at wake().
    void setRest(std::function<bool()> resting, std::chrono::milliseconds restPeriod) {
        resting_ = std::move(resting);
        restPeriod_ = restPeriod;
    }
    // Ends a rest at once (a key went down or up).
    void wake();

  private:
    void run(std::chrono::microseconds period);
    void rest();

    std::function<void()> tick_;
    std::function<bool()> resting_;
    std::chrono::milliseconds restPeriod_{0};
    std::mutex restMutex_;
    std::condition_variable restEnd_;
    bool woken_ = false;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace quillex
