// What the 1 ms input timer does on each tick: it stays out while the item lists are
// rebuilt; while the music plays it sounds the assist ticks and judges the chart (the
// arrow keys in practice mode, the chart playing itself otherwise); it reads no keys
// while a Ctrl key is held or the window is suspended; it turns arrow presses into
// recorded notes while recording; it navigates with the arrow keys while the music is
// stopped; and it stamps B presses with the playback position for tapping beats.
//
// The tick runs on the timer thread. It reads only atomics (key tables, flags, the
// player's position) and never touches the item store: everything that edits the song
// is handed to the main thread through `post`, so the timer never waits for a frame.
// Presses are taken from the key table's log, not from which keys are down, so a
// press shorter than a tick counts once, at the channel position it arrived at.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <optional>

#include "app/input/arrow_navigation.h"
#include "app/keys/key_tables.h"
#include "app/session/shell_state.h"
#include "audio/practice_judge.h"
#include "items/busy_counter.h"
#include "model/row_position.h"

namespace quillex {

// Flags the main thread sets and the timer thread reads.
struct InputFlags {
    std::atomic<bool> recordingArrows{false}; // Record is on: arrows write notes
    std::atomic<bool> practice{false};        // arrows are game keys (#PRACTICEMODE)
    std::atomic<int> lagSamples{0};           // #KBLAGCOMP in samples
    // One key per arrow (left, down, up, right), counted as that arrow while playing.
    std::array<std::atomic<int>, 4> alternateKeys{90, 88, 190, 191};
};

// The main thread's side of what a tick finds; `post` runs these there.
class TimerEvents {
  public:
    virtual ~TimerEvents() = default;
    // B during playback, stamped with the lag-compensated playback position.
    virtual void beatTapped(SamplePosition sample) = 0;
    // B while the music is stopped.
    virtual void beatKeyWhileStopped() = 0;
    // An arrow pressed while recording, in its column, at the play position.
    virtual void arrowRecorded(int column, SamplePosition position) = 0;
};

class InputTick {
  public:
    // What the tick reads of the player; each is safe to call from the timer thread.
    struct Player {
        std::function<bool()> playing = [] { return false; };
        // The play position the display follows (updated once a frame).
        std::function<SamplePosition()> position = [] { return 0; };
        // The playing channel's position right now, when music is open.
        std::function<std::optional<SamplePosition>()> channelPosition = [] {
            return std::optional<SamplePosition>{};
        };
        // Once a tick while the music plays: the ticks heard at the channel position,
        // the judging at the lag-compensated one. `keys` holds the arrows down in
        // practice mode and the new presses at their own lag-compensated positions
        // (null: the chart plays itself); `keysLive` is false while keys must not act
        // (recording, a Ctrl key held, the window suspended).
        std::function<void(SamplePosition heard, SamplePosition judged,
                           const PracticeJudge::KeyInput* keys, bool keysLive)>
            playAlong = [](SamplePosition, SamplePosition, const PracticeJudge::KeyInput*, bool) {};
    };

    InputTick(const BusyCounter& busy, const ShellState& shell, const KeyDownTable& down,
              KeyStateTable& states, ArrowNavigation::Post postCommand,
              std::function<void(std::function<void()>)> post, TimerEvents& events,
              const InputFlags& flags, Player player);

    void tick();

  private:
    // The arrows down by column and their new presses; notes written while recording.
    PracticeJudge::KeyInput recordArrows(bool playing, SamplePosition lag);
    void tapBeatKey(bool playing, SamplePosition lag, SamplePosition lagCompensated);

    const BusyCounter& busy_;
    const ShellState& shell_;
    const KeyDownTable& down_;
    std::function<void(std::function<void()>)> post_;
    TimerEvents& events_;
    const InputFlags& flags_;
    Player player_;
    KeyPressReader presses_;
    ArrowNavigation navigation_;
};

} // namespace quillex
