// The key tables shared by the window's key events and the input timer thread: which
// keys are down now and every press that arrived (fed by key press and release
// events), and the edge state each poller keeps per key (0 up, 1 went down at this
// poll, 2 held).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/keys/virtual_keys.h"
#include "model/row_position.h"

namespace quillex {

// One key press as it arrived: the playing channel's position at that moment (none
// while the music is stopped) and whether Shift was held.
struct KeyPress {
    std::optional<SamplePosition> channel;
    bool shift = false;
};

// Written by the main thread's key events, read by the timer thread without locking.
// Besides the keys down it keeps each key's latest presses, stamped on arrival, so a
// press that comes and goes between two polls still counts, at its own position. A
// press made while a Ctrl key is held is not kept: the pollers ignore such keys.
class KeyDownTable {
  public:
    // Presses of one key kept for its readers; more between two polls lose the oldest.
    static constexpr std::uint32_t kKeptPresses = 16;
    using Stamp = std::function<std::optional<SamplePosition>()>;

    // Set once before presses arrive: the channel position a press is stamped with,
    // asked on the thread that calls setDown.
    void setStamp(Stamp stamp) { stamp_ = std::move(stamp); }

    // A key going down that was up is a press; a repeated down is not.
    void setDown(VirtualKey key, bool down) {
        const bool was = keys_[key].exchange(down, std::memory_order_relaxed);
        if (down && !was && !ctrlDown())
            latch(key);
    }
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

    // How many presses of `key` arrived so far, and the press numbered `index` (one of
    // the latest kKeptPresses); read with the count's acquire.
    std::uint32_t pressCount(VirtualKey key) const {
        return counts_[key].load(std::memory_order_acquire);
    }
    KeyPress press(VirtualKey key, std::uint32_t index) const {
        const std::uint64_t packed =
            presses_[key][index % kKeptPresses].load(std::memory_order_relaxed);
        KeyPress p;
        if (packed & kHasChannel)
            p.channel = static_cast<SamplePosition>(static_cast<std::uint32_t>(packed));
        p.shift = (packed & kShift) != 0;
        return p;
    }

  private:
    static constexpr std::uint64_t kHasChannel = std::uint64_t{1} << 32;
    static constexpr std::uint64_t kShift = std::uint64_t{1} << 33;

    void latch(VirtualKey key) {
        const std::optional<SamplePosition> channel = stamp_ ? stamp_() : std::nullopt;
        std::uint64_t packed = shiftDown() ? kShift : 0;
        if (channel)
            packed |= kHasChannel | static_cast<std::uint32_t>(*channel);
        const std::uint32_t count = counts_[key].load(std::memory_order_relaxed);
        presses_[key][count % kKeptPresses].store(packed, std::memory_order_relaxed);
        counts_[key].store(count + 1, std::memory_order_release);
    }

    std::array<std::atomic<bool>, 256> keys_{};
    std::array<std::atomic<std::uint32_t>, 256> counts_{};
    std::array<std::array<std::atomic<std::uint64_t>, kKeptPresses>, 256> presses_{};
    Stamp stamp_;
};

// One poller's view of the presses: each press of a key is taken once, oldest first.
// Presses that arrived before the reader was made are not new to it.
class KeyPressReader {
  public:
    // Up to kKeptPresses presses of one key.
    struct Presses {
        std::array<KeyPress, KeyDownTable::kKeptPresses> items{};
        std::uint32_t count = 0;
        const KeyPress* begin() const { return items.data(); }
        const KeyPress* end() const { return items.data() + count; }
        bool empty() const { return count == 0; }
    };

    explicit KeyPressReader(const KeyDownTable& table) : table_(table) { skipAll(); }

    // The presses of `key` since the last take.
    Presses take(VirtualKey key) {
        const std::uint32_t count = table_.pressCount(key);
        std::uint32_t& seen = seen_[key];
        if (count - seen > KeyDownTable::kKeptPresses)
            seen = count - KeyDownTable::kKeptPresses;
        Presses out;
        for (; seen != count; ++seen)
            out.items[out.count++] = table_.press(key, seen);
        return out;
    }
    // Forgets the presses so far of every key (they came while keys must not act).
    void skipAll() {
        for (int key = 0; key < 256; ++key)
            seen_[static_cast<std::size_t>(key)] = table_.pressCount(static_cast<VirtualKey>(key));
    }

  private:
    const KeyDownTable& table_;
    std::array<std::uint32_t, 256> seen_{};
};

// The edge state of each key as its pollers see it: the timer thread's arrow keys and
// the main thread's note keys, which may share a key since both sets are configurable.
// Every change is one atomic operation that returns the state before it, so neither
// thread ever writes back a state the other has changed in between.
class KeyStateTable {
  public:
    static constexpr std::uint8_t kUp = 0;
    static constexpr std::uint8_t kPressed = 1;
    static constexpr std::uint8_t kHeld = 2;

    std::uint8_t get(VirtualKey key) const { return states_[key].load(std::memory_order_relaxed); }
    // The key went down at this poll.
    std::uint8_t press(VirtualKey key) {
        return states_[key].exchange(kPressed, std::memory_order_relaxed);
    }
    // The key is up.
    std::uint8_t release(VirtualKey key) {
        return states_[key].exchange(kUp, std::memory_order_relaxed);
    }
    // A key that went down at the last poll is held from now on; up and held stay.
    std::uint8_t hold(VirtualKey key) {
        std::uint8_t state = kPressed;
        states_[key].compare_exchange_strong(state, kHeld, std::memory_order_relaxed);
        return state;
    }
    void clear() {
        for (auto& s : states_)
            s.store(kUp, std::memory_order_relaxed);
    }

  private:
    std::array<std::atomic<std::uint8_t>, 256> states_{};
};

} // namespace quillex
