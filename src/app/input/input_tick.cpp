#include "app/input/input_tick.h"

namespace quillex {

namespace {

constexpr VirtualKey kVkB = 'B';

// The arrow keys in polling order with the column a recorded press writes.
struct RecordedArrow {
    VirtualKey key;
    int column;
    int alternate; // index into InputFlags::alternateKeys
};
constexpr std::array<RecordedArrow, 4> kRecordedArrows{{
    {kVkLeft, 0, 0},
    {kVkUp, 2, 2},
    {kVkRight, 3, 3},
    {kVkDown, 1, 1},
}};

} // namespace

InputTick::InputTick(const BusyCounter& busy, const ShellState& shell, const KeyDownTable& down,
                     KeyStateTable& states, ArrowNavigation::Post postCommand,
                     std::function<void(std::function<void()>)> post, TimerEvents& events,
                     const InputFlags& flags, Player player)
    : busy_(busy), shell_(shell), down_(down), post_(std::move(post)), events_(events),
      flags_(flags), player_(std::move(player)), presses_(down),
      navigation_(down, states, presses_, std::move(postCommand)) {}

void InputTick::tick() {
    if (busy_.busy())
        return; // presses wait in the key table's log
    const bool playing = player_.playing();
    // Judging and B taps use the channel's position, less the keyboard's lag.
    const SamplePosition lag = flags_.lagSamples.load(std::memory_order_relaxed);
    const std::optional<SamplePosition> channel =
        playing ? player_.channelPosition() : std::nullopt;
    const SamplePosition lagCompensated = channel ? *channel - lag : 0;
    if (down_.ctrlDown() || shell_.suspended.load(std::memory_order_relaxed)) {
        presses_.skipAll();
        if (channel)
            player_.playAlong(*channel, lagCompensated, nullptr, false);
        return;
    }
    const bool recording = flags_.recordingArrows.load(std::memory_order_relaxed);
    const bool practice = flags_.practice.load(std::memory_order_relaxed);
    // Arrows are game keys only while they can act as such (playing or recording);
    // with the music stopped they navigate, once, below.
    PracticeJudge::KeyInput keys{};
    if (practice && (playing || recording))
        keys = recordArrows(playing, lag);
    if (channel)
        player_.playAlong(*channel, lagCompensated, practice ? &keys : nullptr, !recording);
    if (!playing && !recording)
        navigation_.navigate();
    tapBeatKey(playing, lag, lagCompensated);
    presses_.skipAll(); // presses no part of this tick wanted are not kept for later
}

PracticeJudge::KeyInput InputTick::recordArrows(bool playing, SamplePosition lag) {
    const bool recording = flags_.recordingArrows.load(std::memory_order_relaxed);
    PracticeJudge::KeyInput keys{};
    for (const RecordedArrow& arrow : kRecordedArrows) {
        const auto column = static_cast<std::size_t>(arrow.column);
        const int alternate = flags_.alternateKeys[arrow.alternate].load(std::memory_order_relaxed);
        const bool alternateLive = playing && alternate >= 0 && alternate < 256;
        keys.down[column] = down_.isDown(arrow.key) ||
                            (alternateLive && down_.isDown(static_cast<VirtualKey>(alternate)));
        KeyPressReader::Presses presses = presses_.take(arrow.key);
        if (alternateLive)
            for (const KeyPress& p : presses_.take(static_cast<VirtualKey>(alternate)))
                if (presses.count < presses.items.size())
                    presses.items[presses.count++] = p;
        for (const KeyPress& p : presses) {
            // A press is recorded where the music was when it arrived.
            const SamplePosition at = p.channel.value_or(player_.position());
            if (!keys.pressedAt[column])
                keys.pressedAt[column] = at - lag;
            if (recording)
                post_([this, column = arrow.column, at] { events_.arrowRecorded(column, at); });
        }
    }
    return keys;
}

void InputTick::tapBeatKey(bool playing, SamplePosition lag, SamplePosition lagCompensated) {
    for (const KeyPress& p : presses_.take(kVkB)) {
        if (p.shift)
            continue; // Shift+B is the sub-beat accelerator
        if (playing) {
            const SamplePosition at = p.channel ? *p.channel - lag : lagCompensated;
            post_([this, at] { events_.beatTapped(at); });
        } else {
            post_([this] { events_.beatKeyWhileStopped(); });
        }
    }
}

} // namespace quillex
