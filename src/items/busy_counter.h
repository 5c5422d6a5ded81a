// The counter the main thread raises while it rebuilds the item lists, so that the
// input timer thread leaves them alone meanwhile.
#pragma once

#include <atomic>

namespace quillex {

class BusyCounter {
public:
    void raise() { count_.fetch_add(1, std::memory_order_acq_rel); }
    void lower() { count_.fetch_sub(1, std::memory_order_acq_rel); }
    bool busy() const { return count_.load(std::memory_order_acquire) != 0; }
    int value() const { return count_.load(std::memory_order_acquire); }

private:
    std::atomic<int> count_{0};
};

// Raises a BusyCounter for the lifetime of the guard.
class BusyGuard {
public:
    explicit BusyGuard(BusyCounter& counter) : counter_(counter) { counter_.raise(); }
    ~BusyGuard() { counter_.lower(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BusyCounter& counter_;
};

} // namespace quillex
