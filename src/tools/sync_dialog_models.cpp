#include "tools/sync_dialog_models.h"

#include <charconv>
#include <cmath>

#include "base/number_format.h"
#include "base/text_pieces.h"

namespace quillex {

namespace {

template <typename Number> std::optional<Number> wholeText(std::string_view text) {
    text = trimBlanks(text);
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> typedNumber(std::string_view text) { return wholeText<double>(text); }

std::optional<std::int64_t> typedWholeNumber(std::string_view text) {
    return wholeText<std::int64_t>(text);
}

std::optional<std::string> bpmRefusal(std::optional<double> bpm) {
    if (!bpm || !(*bpm > 0))
        return std::string(kPositiveNumberMessage);
    if (!std::isfinite(*bpm) || *bpm < kLowestTypedBpm || *bpm > kHighestTypedBpm)
        return std::string(kBpmRangeMessage);
    return std::nullopt;
}

std::optional<std::string> offsetRefusal(std::optional<double> seconds, int sampleRate,
                                         SamplePosition musicLength) {
    const double last = sampleRate > 0 ? static_cast<double>(musicLength) / sampleRate : 0;
    if (seconds && std::isfinite(*seconds) && *seconds >= 0 && *seconds * sampleRate <= musicLength)
        return std::nullopt;
    return "Type the time of the first beat in seconds, from 0 to the end of the music (" +
           formatFixed3(last) + ").";
}

std::optional<std::string> SubBeatFractionModel::accept(std::string_view text) {
    const auto typed = typedWholeNumber(text);
    if (!typed || *typed < 1 || *typed >= kRowsPerBeat)
        return std::string(kFractionRangeMessage);
    if (*typed < allowed_.lowest || *typed > allowed_.highest)
        return "That fraction puts this sub-beat on or past the marker next to it.  Choose a "
               "number from " +
               std::to_string(allowed_.lowest) + " to " + std::to_string(allowed_.highest) + ".";
    fraction_ = static_cast<std::int32_t>(*typed);
    return std::nullopt;
}

std::string GrowSmoothModel::bpmText() const { return formatFixed3(bpm_); }
std::string GrowSmoothModel::averageBpmText() const { return formatFixed3(region_.averageBpm); }
std::string GrowSmoothModel::firstBpmText() const { return formatFixed3(region_.firstBpm); }

std::optional<std::string> GrowSmoothModel::accept(bool growMode, std::string_view bpmText,
                                                   std::string_view windowText, bool fillToEnd) {
    const auto bpm = typedNumber(bpmText);
    if (auto refusal = bpmRefusal(bpm))
        return refusal;
    int window = memory_.smoothWindow;
    if (!growMode) {
        const auto typed = typedWholeNumber(windowText);
        if (!typed || *typed < 1 || *typed > kLongestSmoothWindow)
            return std::string(kSmoothWindowMessage);
        window = static_cast<int>(*typed);
    }
    bpm_ = *bpm;
    memory_.growMode = growMode;
    memory_.smoothWindow = window;
    memory_.fillToEnd = fillToEnd;
    return std::nullopt;
}

AutofillModel::AutofillModel(AutofillMemory& memory, const TimingMap& timing)
    : memory_(memory), sampleRate_(timing.sampleRate()), musicLength_(timing.musicLength()),
      insertionAvailable_(timing.markerCount() >= 2) {
    if (!insertionAvailable_)
        memory_.averageMode = true;
    memory_.bpmText = insertionAvailable_ ? formatFixed3(timing.averageBpm()) : "100.000";
    memory_.offsetText =
        timing.markerCount() >= 1 && sampleRate_ > 0
            ? formatFixed3(static_cast<double>(timing.beats()[0].sample) / sampleRate_)
            : "0.000";
}

std::optional<std::string> AutofillModel::accept(bool averageMode, std::string_view bpmText,
                                                 std::string_view offsetText,
                                                 std::string_view countText) {
    if (averageMode) {
        const auto bpm = typedNumber(bpmText);
        if (auto refusal = bpmRefusal(bpm))
            return refusal;
        const auto offset = typedNumber(offsetText);
        if (auto refusal = offsetRefusal(offset, sampleRate_, musicLength_))
            return refusal;
        bpm_ = *bpm;
        offset_ = *offset;
        memory_.bpmText = formatFixed3(bpm_);
        memory_.offsetText = formatFixed3(offset_);
    } else {
        const auto count = typedWholeNumber(countText);
        if (!insertionAvailable_ || !count || *count < 1 || *count > kMostInsertedBeats)
            return std::string(kInsertCountMessage);
        count_ = *count;
        memory_.countText = std::to_string(count_);
    }
    memory_.averageMode = averageMode;
    return std::nullopt;
}

} // namespace quillex
