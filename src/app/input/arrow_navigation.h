// The arrow keys as navigation while the music is stopped: each press posts its
// command at once (however short it was), a held key again after 202 ticks and then
// every 201. The input tick decides when it runs.
#pragma once

#include <array>
#include <functional>

#include "app/keys/key_tables.h"
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

    ArrowNavigation(const KeyDownTable& down, KeyStateTable& states, KeyPressReader& presses,
                    Post post)
        : down_(down), states_(states), presses_(presses), post_(std::move(post)) {}

    // One timer tick's look at the arrow keys.
    void navigate();

  private:
    const KeyDownTable& down_;
    KeyStateTable& states_;
    KeyPressReader& presses_;
    Post post_;
    std::array<ArrowBinding, 4> arrows_ = kDefaultArrows;
    int repeatCountdown_ = 0;
};

} // namespace quillex
