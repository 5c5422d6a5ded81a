// Go To without Qt: the text the dialog starts with and the sample a typed text goes
// to. "12.345" is seconds, "12:24" beat 12 and 24 48ths, "12345" samples.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "items/timing_map.h"

namespace quillex {

inline constexpr std::string_view kGoToRefusedMessage =
    "Type a time in seconds (12.345), in beats (12:00, beat and 48ths) or in samples (12345).";
inline constexpr std::string_view kGoToNeedsBeatsMessage =
    "A time in beats needs at least two beat markers.";

// The position in the time format shown (seconds, beats or samples), so that OK on
// the unchanged text stays where the cursor is.
std::string goToText(SamplePosition position, int timeFormat, const TimingMap& timing);

struct GoToTarget {
    std::optional<SamplePosition> sample; // nothing: refused
    std::string_view refusal;
};
// Where a typed text goes: a text with one "." is seconds, else one with one ":" is
// beats, else a whole number of samples. The result lies within the music (and a beat
// past the last marker goes to the last marker); anything else is refused.
GoToTarget goToTarget(std::string_view text, const TimingMap& timing);

} // namespace quillex
