// What the Options dialog shows and what its OK keeps, without Qt: the values of the
// check boxes, the two tick-volume sliders (0..10, tenths of full volume) and the
// texts of the practice edits, and the checks OK applies before anything is kept.
#pragma once

#include <optional>
#include <string>

#include "settings/options.h"

namespace quillex {

inline constexpr std::string_view kInvalidWindowsMessage =
    "You have entered an invalid timing window value.  The scale needs to be positive\n"
    "and the Grading values need to be positive and in increasing order.\n"
    "Windows and the keyboard lag may be at most 5000 ms, the scale at most 10.";

struct OptionsForm {
    // The check boxes, the alternate keys and the status margin: as the options hold
    // them (the dialog has no controls for the last two; OK keeps them).
    Options flags;
    int beatVolumeStep = 10; // slider position: volume / 10
    int noteVolumeStep = 10;
    // The edits, in milliseconds ("%.3f"), the scale as a plain factor.
    std::string scale;
    std::string marvelous, perfect, great, good, boo, freezeOk, mine;
    std::string keyboardLag;
    // The spectrogram's contrast slider (0..10): each step narrows its range by 10 dB.
    int spectrogramContrastStep = 6;
};

// The form for the options in force.
OptionsForm optionsFormOf(const Options& options);
// The Defaults button: every check box ticked (backups too), full volumes and the
// default windows; the alternate keys back to their defaults. The status margin,
// which the dialog does not show, stays as `current` has it.
OptionsForm defaultOptionsForm(const Options& current);

// OK: the options the form describes, or nothing when a practice value is refused
// (kInvalidWindowsMessage). Every edit must hold a finite number: the scale above 0
// and at most kMaxPracticeScale, the five grading windows above 0, strictly
// increasing and at most kMaxJudgeWindowMs, Freeze OK and Mine from 0 to that bound,
// the keyboard lag within ± kMaxKeyboardLagMs.
std::optional<Options> optionsFromForm(const OptionsForm& form);

} // namespace quillex
