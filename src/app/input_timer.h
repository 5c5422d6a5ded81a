// The 1 ms input timer: a thread that calls its tick function on absolute deadlines
// of the steady clock, so key presses during playback are stamped precisely.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
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

  private:
    void run(std::chrono::microseconds period);

    std::function<void()> tick_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace quillex
