#include "settings/options_form.h"

#include <algorithm>
#include <array>

#include "base/number_format.h"
#include "base/number_parse.h"

namespace quillex {

namespace {

std::string milliseconds(double seconds) {
    return formatFixed3(seconds * 1000.0);
}

// A number typed into an edit within lowest..highest (lowest excluded when `open`).
std::optional<double> typedNumber(const std::string& text, double lowest, double highest,
                                  bool open) {
    const std::optional<double> value = parseDecimal(text);
    if (!value || *value > highest || *value < lowest || (open && *value == lowest))
        return std::nullopt;
    return value;
}

} // namespace

OptionsForm optionsFormOf(const Options& options) {
    OptionsForm form;
    form.flags = options;
    form.beatVolumeStep = options.beatAssistVolume / 10;
    form.noteVolumeStep = options.noteAssistVolume / 10;
    form.scale = formatFixed3(options.practiceScale);
    form.marvelous = milliseconds(options.marvelousWindow);
    form.perfect = milliseconds(options.perfectWindow);
    form.great = milliseconds(options.greatWindow);
    form.good = milliseconds(options.goodWindow);
    form.boo = milliseconds(options.booWindow);
    form.freezeOk = milliseconds(options.freezeOkWindow);
    form.mine = milliseconds(options.mineWindow);
    form.keyboardLag = formatFixed3(options.keyboardLagMs);
    form.spectrogramContrastStep = (kMaxSpectrogramRangeDb - options.spectrogramRangeDb) / 10;
    return form;
}

OptionsForm defaultOptionsForm(const Options& current) {
    Options defaults;
    defaults.saveBackups = true; // the button ticks every check box
    defaults.statusBarExtraY = current.statusBarExtraY;
    return optionsFormOf(defaults);
}

std::optional<Options> optionsFromForm(const OptionsForm& form) {
    const auto scale = typedNumber(form.scale, 0, kMaxPracticeScale, true);
    const std::array<const std::string*, 5> gradingTexts = {&form.marvelous, &form.perfect,
                                                            &form.great, &form.good, &form.boo};
    std::array<double, 5> grading{};
    double previous = 0;
    for (std::size_t i = 0; i < grading.size(); ++i) {
        const auto ms = typedNumber(*gradingTexts[i], previous, kMaxJudgeWindowMs, true);
        if (!ms)
            return std::nullopt;
        grading[i] = previous = *ms;
    }
    const auto freezeOk = typedNumber(form.freezeOk, 0, kMaxJudgeWindowMs, false);
    const auto mine = typedNumber(form.mine, 0, kMaxJudgeWindowMs, false);
    const auto lag = typedNumber(form.keyboardLag, -kMaxKeyboardLagMs, kMaxKeyboardLagMs, false);
    if (!scale || !freezeOk || !mine || !lag)
        return std::nullopt;

    Options options = form.flags;
    options.beatAssistVolume = std::clamp(form.beatVolumeStep, 0, 10) * 10;
    options.noteAssistVolume = std::clamp(form.noteVolumeStep, 0, 10) * 10;
    options.practiceScale = *scale;
    options.marvelousWindow = grading[0] * 0.001;
    options.perfectWindow = grading[1] * 0.001;
    options.greatWindow = grading[2] * 0.001;
    options.goodWindow = grading[3] * 0.001;
    options.booWindow = grading[4] * 0.001;
    options.freezeOkWindow = *freezeOk * 0.001;
    options.mineWindow = *mine * 0.001;
    options.keyboardLagMs = *lag;
    options.spectrogramRangeDb =
        std::clamp(kMaxSpectrogramRangeDb - 10 * form.spectrogramContrastStep,
                   kMinSpectrogramRangeDb, kMaxSpectrogramRangeDb);
    return options;
}

} // namespace quillex
