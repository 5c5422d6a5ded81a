#include "app/input/input_timer.h"

namespace quillex {

void InputTimer::start(std::chrono::microseconds period, std::function<void()> tick) {
    stop();
    tick_ = std::move(tick);
    stopping_.store(false);
    thread_ = std::thread([this, period] { run(period); });
}

void InputTimer::stop() {
    {
        std::lock_guard lock(restMutex_);
        stopping_.store(true);
    }
    restEnd_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void InputTimer::run(std::chrono::microseconds period) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + period;
    while (!stopping_.load(std::memory_order_relaxed)) {
        std::this_thread::sleep_until(deadline);
        if (stopping_.load(std::memory_order_relaxed))
            break;
        tick_();
        if (resting_ && resting_()) {
            rest();
            deadline = Clock::now() + period;
            continue;
        }
        deadline += period;
        auto now = Clock::now();
        if (now > deadline + 10 * period)
            deadline = now + period;
    }
}

void InputTimer::wake() {
    {
        std::lock_guard lock(restMutex_);
        woken_ = true;
    }
    restEnd_.notify_one();
}

void InputTimer::rest() {
    std::unique_lock lock(restMutex_);
    restEnd_.wait_for(lock, restPeriod_, [this] { return woken_ || stopping_.load(); });
    woken_ = false;
}

} // namespace quillex
