#include "app/forms/go_to.h"

#include <algorithm>
#include <cmath>

#include "base/number_parse.h"
#include "view/status_texts.h"

namespace quillex {

namespace {

std::size_t pieces(std::string_view text, char separator) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

// A sample computed in double, put within the timeline: the music, and before and
// after it as far as the markers reach.
SamplePosition withinTimeline(double sample, const TimingMap& timing) {
    const ItemList& beats = timing.beats();
    double first = 0;
    double last = std::max<double>(0, timing.musicLength() - 1);
    if (!beats.empty()) {
        first = std::min<double>(first, beats.front().sample);
        last = std::max<double>(last, beats.back().sample);
    }
    return static_cast<SamplePosition>(std::clamp(sample, first, last));
}

GoToTarget refused(std::string_view why = kGoToRefusedMessage) {
    return {std::nullopt, why};
}

} // namespace

std::string goToText(SamplePosition position, int timeFormat, const TimingMap& timing) {
    return positionText(position, timeFormat, timing.sampleRate(), timing);
}

GoToTarget goToTarget(std::string_view text, const TimingMap& timing) {
    if (pieces(text, '.') == 2) {
        const std::optional<double> seconds = parseDecimal(text);
        if (!seconds)
            return refused();
        return {withinTimeline(std::floor(*seconds * timing.sampleRate() + 0.5), timing), {}};
    }
    if (pieces(text, ':') == 2) {
        const std::size_t colon = text.find(':');
        const auto beat = parseWhole(text.substr(0, colon));
        const auto fraction = parseWhole(text.substr(colon + 1));
        // Kept small enough that the row count below cannot overflow.
        constexpr std::int64_t kLimit = std::int64_t{1} << 40;
        if (!beat || !fraction || std::llabs(*beat) > kLimit || std::llabs(*fraction) > kLimit)
            return refused();
        if (timing.markerCount() < 2)
            return refused(kGoToNeedsBeatsMessage);
        const std::int64_t lastRow = timing.beats()[timing.markerCount() - 1].row();
        const std::int64_t row =
            std::clamp<std::int64_t>(*beat * kRowsPerBeat + *fraction, 0, lastRow);
        return {withinTimeline(timing.rowToSample(RowPosition::fromRow(row)), timing), {}};
    }
    const std::optional<std::int64_t> sample = parseWhole(text);
    if (!sample || *sample < 0)
        return refused();
    return {withinTimeline(static_cast<double>(*sample), timing), {}};
}

} // namespace quillex
