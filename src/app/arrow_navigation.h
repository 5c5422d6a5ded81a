// What the input timer does on each tick that belongs to the shell: it stays out
// while the item lists are rebuilt or a Ctrl key is held, ignores keys while the
// window is suspended, and while the music is stopped turns the arrow keys into
// navigation commands with a repeat every 201 ticks.
#pragma once

#include <array>
#include <functional>

#include "app/key_tables.h"
#include "app/shell_state.h"
#include "items/busy_counter.h"
#include "ports/command_id.h"

namespace quillex {

class ArrowNavigation {
  public:
    using Post = std::function<void(CommandId)>;

    // The arrow keys in polling order with the command each posts.
    struct ArrowBinding {
        VirtualKey key;
        CommandId command;
    };
    static constexpr std::array<ArrowBinding, 4> kDefaultArrows{{
        {kVkLeft, CommandId::PreviousSnap},
        {kVkUp, CommandId::PreviousRow},
        {kVkRight, CommandId::NextSnap},
        {kVkDown, CommandId::NextRow},
    }};
    static constexpr int kRepeatTicks = 200;

    ArrowNavigation(const BusyCounter& busy, const ShellState& shell, const KeyDownTable& down,
                    KeyStateTable& states, Post post)
        : busy_(busy), shell_(shell), down_(down), states_(states), post_(std::move(post)) {}

    // Whether music plays and whether arrows are recorded; both stop navigation.
    std::function<bool()> isPlaying = [] { return false; };
    std::function<bool()> isRecordingArrows = [] { return false; };

    // One timer tick.
    void tick();
    void resetArrows() { arrows_ = kDefaultArrows; }

  private:
    void navigate();

    const BusyCounter& busy_;
    const ShellState& shell_;
    const KeyDownTable& down_;
    KeyStateTable& states_;
    Post post_;
    std::array<ArrowBinding, 4> arrows_ = kDefaultArrows;
    int repeatCountdown_ = 0;
};

} // namespace quillex
