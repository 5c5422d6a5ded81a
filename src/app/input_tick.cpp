#include "app/input_tick.h"

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
    : busy_(busy), shell_(shell), down_(down), states_(states), post_(std::move(post)),
      events_(events), flags_(flags), player_(std::move(player)),
      navigation_(down, states, std::move(postCommand)) {}

void InputTick::tick() {
    if (busy_.busy())
        return;
    const bool playing = player_.playing();
    // Judging and B taps use the channel's position, less the keyboard's lag.
    const std::optional<SamplePosition> channel =
        playing ? player_.channelPosition() : std::nullopt;
    const SamplePosition lagCompensated =
        channel ? *channel - flags_.lagSamples.load(std::memory_order_relaxed) : 0;
    if (down_.ctrlDown() || shell_.suspended.load(std::memory_order_relaxed)) {
        if (channel)
            player_.playAlong(*channel, lagCompensated, nullptr, false);
        return;
    }
    const bool recording = flags_.recordingArrows.load(std::memory_order_relaxed);
    const bool practice = flags_.practice.load(std::memory_order_relaxed);
    // Arrows are game keys only while they can act as such (playing or recording);
    // with the music stopped they navigate, once, below.
    PracticeJudge::Keys keys{};
    if (practice && (playing || recording))
        keys = recordArrows(playing);
    if (channel)
        player_.playAlong(*channel, lagCompensated, practice ? &keys : nullptr, !recording);
    if (!playing && !recording)
        navigation_.navigate();
    tapBeatKey(playing, lagCompensated);
}

PracticeJudge::Keys InputTick::recordArrows(bool playing) {
    const bool recording = flags_.recordingArrows.load(std::memory_order_relaxed);
    PracticeJudge::Keys keys{};
    for (const RecordedArrow& arrow : kRecordedArrows) {
        const int alternate = flags_.alternateKeys[arrow.alternate].load(std::memory_order_relaxed);
        const bool down = down_.isDown(arrow.key) ||
                          (playing && alternate >= 0 && alternate < 256 &&
                           down_.isDown(static_cast<VirtualKey>(alternate)));
        keys[static_cast<std::size_t>(arrow.column)] = down;
        if (!down) {
            states_.set(arrow.key, KeyStateTable::kUp);
            continue;
        }
        switch (states_.get(arrow.key)) {
        case KeyStateTable::kUp:
            states_.set(arrow.key, KeyStateTable::kPressed);
            if (recording) {
                const SamplePosition at = player_.position();
                post_([this, column = arrow.column, at] { events_.arrowRecorded(column, at); });
            }
            break;
        case KeyStateTable::kPressed: states_.set(arrow.key, KeyStateTable::kHeld); break;
        default: break;
        }
    }
    return keys;
}

void InputTick::tapBeatKey(bool playing, SamplePosition lagCompensated) {
    if (!down_.isDown(kVkB)) {
        states_.set(kVkB, KeyStateTable::kUp);
        return;
    }
    if (states_.get(kVkB) != KeyStateTable::kUp) {
        states_.set(kVkB, KeyStateTable::kHeld); // no repeat
        return;
    }
    states_.set(kVkB, KeyStateTable::kPressed);
    if (down_.shiftDown())
        return; // Shift+B is the sub-beat accelerator
    if (playing)
        post_([this, lagCompensated] { events_.beatTapped(lagCompensated); });
    else
        post_([this] { events_.beatKeyWhileStopped(); });
}

} // namespace quillex
