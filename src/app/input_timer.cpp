#include "app/input_timer.h"

namespace quillex {

void InputTimer::start(std::chrono::microseconds period, std::function<void()> tick) {
    stop();
    tick_ = std::move(tick);
    stopping_.store(false);
    thread_ = std::thread([this, period] { run(period); });
}

void InputTimer::stop() {
    stopping_.store(true);
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
        deadline += period;
        auto now = Clock::now();
        if (now > deadline + 10 * period)
            deadline = now + period;
    }
}

} // namespace quillex
