// The two key tables shared by the window's key events and the input timer thread:
// which keys are down now (fed by key press and release events), and the edge state
// each poller keeps per key (0 up, 1 went down at this poll, 2 held).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "app/virtual_keys.h"

namespace quillex {

// Written by the main thread's key events, read by the timer thread without locking.
class KeyDownTable {
  public:
    void setDown(VirtualKey key, bool down) { keys_[key].store(down, std::memory_order_relaxed); }
    bool isDown(VirtualKey key) const { return keys_[key].load(std::memory_order_relaxed); }
    // Either Ctrl key (or a Ctrl whose side is unknown).
    bool ctrlDown() const {
        return isDown(kVkLControl) || isDown(kVkRControl) || isDown(kVkControl);
    }
    bool shiftDown() const { return isDown(kVkLShift) || isDown(kVkRShift) || isDown(kVkShift); }
    bool anyDown() const {
        for (const auto& key : keys_)
            if (key.load(std::memory_order_relaxed))
                return true;
        return false;
    }
    // Releases every key, for when the window loses the keyboard and would not see
    // the releases.
    void releaseAll() {
        for (auto& key : keys_)
            key.store(false, std::memory_order_relaxed);
    }

  private:
    std::array<std::atomic<bool>, 256> keys_{};
};

class KeyStateTable {
  public:
    static constexpr std::uint8_t kUp = 0;
    static constexpr std::uint8_t kPressed = 1;
    static constexpr std::uint8_t kHeld = 2;

    std::uint8_t get(VirtualKey key) const { return states_[key].load(std::memory_order_relaxed); }
    void set(VirtualKey key, std::uint8_t state) {
        states_[key].store(state, std::memory_order_relaxed);
    }
    void clear() {
        for (auto& s : states_)
            s.store(kUp, std::memory_order_relaxed);
    }

  private:
    std::array<std::atomic<std::uint8_t>, 256> states_{};
};

} // namespace quillex
