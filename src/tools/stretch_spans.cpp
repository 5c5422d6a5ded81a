#include "tools/stretch_spans.h"

#include <algorithm>
#include <cmath>

#include "tools/beat_insertion.h"
#include "tools/note_transforms.h"

namespace quillex {

namespace {

bool anyOf(const ItemList& list, auto pick) {
    return std::any_of(list.begin(), list.end(), pick);
}

} // namespace

std::optional<RowSpan> selectedRowSpan(const ItemStore& store, const RegionSelection& region) {
    const auto samples = previewFromSelection(store, region);
    if (!samples)
        return std::nullopt;
    const TimingMap timing = store.timing();
    const RowPosition start = timing.sampleToRow(samples->begin);
    const RowPosition end = timing.sampleToRow(samples->end);
    return RowSpan{start, RowPosition::fromRow(std::int64_t{end.row()} - start.row())};
}

bool spanInsideTheBeats(const ItemStore& store, const RowSpan& span) {
    const ItemList& beats = store.beats();
    const std::int32_t lastBeat = beats.empty() ? 0 : beats[beats.size() - 1].beat;
    const RowPosition end = RowPosition::fromRow(span.endRow());
    return span.start.beat != 0 && end.beat != 0 && span.start.beat < lastBeat &&
           end.beat < lastBeat && span.length.row() != 0;
}

std::variant<RowSpan, std::string_view> delaySpan(const ItemStore& store,
                                                  const RegionSelection& region) {
    const auto span = selectedRowSpan(store, region);
    if (!span)
        return kPauseNeedsSpanMessage;
    return checkedDelaySpan(store, *span);
}

std::variant<RowSpan, std::string_view> checkedDelaySpan(const ItemStore& store, RowSpan span) {
    const std::int32_t start = span.start.row();
    const std::int32_t end = span.endRow();
    // The game plays a delay before a stop on one row, so a pause may follow a delay
    // directly; any other meeting would make the refresh drop one of the two.
    const bool meetsPause = anyOf(store.pauses(), [&](const EditItem& p) {
        return p.row() != end && p.row() <= end && start <= p.endRow();
    });
    const bool meetsDelay = anyOf(
        store.delays(), [&](const EditItem& d) { return d.row() <= end && start <= d.endRow(); });
    if (!spanInsideTheBeats(store, span) || meetsPause || meetsDelay)
        return kDelayRefusedMessage;
    return span;
}

std::variant<RowSpan, std::string_view> warpSpan(const ItemStore& store,
                                                 const RegionSelection& region) {
    const auto span = selectedRowSpan(store, region);
    if (!span)
        return kPauseNeedsSpanMessage;
    return checkedWarpSpan(store, *span);
}

std::variant<RowSpan, std::string_view> checkedWarpSpan(const ItemStore& store, RowSpan span) {
    const std::int32_t start = span.start.row();
    const auto beats = std::max<std::int64_t>(
        1, std::llround(static_cast<double>(span.length.row()) / kRowsPerBeat));
    span.length = RowPosition{static_cast<std::int32_t>(beats), 0};
    // The warp's start row must be free: inside another stretch, the rows after it
    // would move apart.
    const auto holdsStart = [start](const EditItem& s) {
        return s.row() < start && start < s.endRow();
    };
    const auto stretches = store.stretchLists();
    const bool insideStretch =
        std::any_of(stretches.begin(), stretches.end(),
                    [&](const ItemList* list) { return anyOf(*list, holdsStart); });
    // A sub-beat after the start in its beat would land inside the warp.
    const bool subBeatAfterStart = anyOf(store.beats(), [&](const EditItem& b) {
        return b.isSubBeat && b.beat == span.start.beat && b.row() >= start;
    });
    const RowSpan startOnly{span.start, RowPosition{0, 1}};
    if (!spanInsideTheBeats(store, startOnly) || insideStretch || subBeatAfterStart)
        return kWarpRefusedMessage;
    return span;
}

} // namespace quillex
