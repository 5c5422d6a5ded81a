#include "tools/beat_insertion.h"

#include <algorithm>

#include "items/clipboard.h"
#include "tools/note_transforms.h"
#include "tools/stretch_spans.h"

namespace quillex {

namespace {

bool isActiveSelected(const EditItem& b) {
    return b.selected && b.layerActive;
}

// The rows between two markers, for the spacing of one beat. Two regular markers are
// one beat apart; a marker not yet numbered (added during playback) counts so too.
std::int64_t rowsBetween(const EditItem& a, const EditItem& b) {
    const std::int64_t rows = std::int64_t{b.row()} - a.row();
    return rows > 0 && (a.isSubBeat || b.isSubBeat) ? rows : kRowsPerBeat;
}

} // namespace

std::optional<SamplePosition> beatBeyondEnd(const ItemList& beats, BeatEnd end,
                                            SamplePosition musicLength) {
    if (beats.size() < 2)
        return std::nullopt;
    // The two outermost markers by sample: the list is sorted except during playback.
    const EditItem* outer = nullptr;
    const EditItem* inner = nullptr;
    const auto further = [end](const EditItem& a, const EditItem* b) {
        return b == nullptr || (end == BeatEnd::Next ? a.sample > b->sample : a.sample < b->sample);
    };
    for (const EditItem& b : beats) {
        if (further(b, outer)) {
            inner = outer;
            outer = &b;
        } else if (further(b, inner)) {
            inner = &b;
        }
    }
    const std::int64_t spacing = std::int64_t{outer->sample} - inner->sample; // signed
    const std::int64_t rows =
        end == BeatEnd::Next ? rowsBetween(*inner, *outer) : rowsBetween(*outer, *inner);
    const std::int64_t added = outer->sample + spacing * kRowsPerBeat / rows;
    if (added < 0 || added > std::int64_t{musicLength} - 1)
        return std::nullopt;
    return static_cast<SamplePosition>(added);
}

std::variant<RowPosition, std::string_view> subBeatRowAt(const TimingMap& timing,
                                                         SamplePosition cursor) {
    const ItemList& beats = timing.beats();
    if (beats.empty())
        return kSubBeatWithoutBeatsMessage;
    if (cursor < beats[0].sample)
        return kSubBeatBeforeFirstMessage;
    if (cursor >= beats[beats.size() - 1].sample)
        return kSubBeatAfterLastMessage;
    const RowPosition row = timing.sampleToRow(cursor);
    const auto after =
        std::upper_bound(beats.begin(), beats.end(), cursor,
                         [](SamplePosition s, const EditItem& b) { return s < b.sample; });
    const EditItem& next = *after;
    const EditItem& previous = *(after - 1);
    if (row.row() <= previous.row() || row.row() >= next.row())
        return kSubBeatOnMarkerRowMessage;
    return row;
}

std::variant<PauseSpan, std::string_view> pauseSpan(const ItemStore& store,
                                                    const RegionSelection& region) {
    const auto span = selectedRowSpan(store, region);
    if (!span)
        return kPauseNeedsSpanMessage;
    // A pause overlapping another would make the refresh drop one of the two; it may
    // follow a delay directly (the game plays a delay before a stop on one row).
    const std::int32_t start = span->start.row();
    const std::int32_t endRow = span->endRow();
    const auto meets = [&](const EditItem& p) { return p.row() <= endRow && start <= p.endRow(); };
    const bool overlaps =
        std::any_of(store.pauses().begin(), store.pauses().end(), meets) ||
        std::any_of(store.delays().begin(), store.delays().end(),
                    [&](const EditItem& d) { return meets(d) && d.endRow() != start; });
    if (!spanInsideTheBeats(store, *span) || overlaps)
        return kPauseRefusedMessage;
    return PauseSpan{span->start, span->length};
}

std::optional<std::string_view> colourRefusal(const ItemStore& store) {
    const ItemList& beats = store.beats();
    if (std::any_of(beats.begin(), beats.end(),
                    [](const EditItem& b) { return isActiveSelected(b) && b.locked; }))
        return kLockedBeatSelectedMessage;
    if (!anyActiveSelectedBeat(store))
        return kNoBeatToColourMessage;
    return std::nullopt;
}

void colourSelectedBeats(ItemStore& store, Colour colour) {
    for (EditItem& b : store.beatList().edit())
        if (isActiveSelected(b) && !b.locked)
            b.colour = colour;
    store.setModified(true);
}

bool anyActiveSelectedBeat(const ItemStore& store) {
    return std::any_of(store.beats().begin(), store.beats().end(), isActiveSelected);
}

void toggleLockOfSelectedBeats(ItemStore& store) {
    for (EditItem& b : store.beatList().edit())
        if (isActiveSelected(b))
            b.locked = !b.locked;
    store.setModified(true);
}

std::optional<std::size_t> onlySelectedSubBeat(const ItemStore& store) {
    const ItemList& beats = store.beats();
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (!beats[i].selected)
            continue;
        if (found)
            return std::nullopt;
        found = i;
    }
    if (found && !beats[*found].isSubBeat)
        return std::nullopt;
    return found;
}

FractionRange allowedFractions(const ItemList& beats, std::size_t index) {
    FractionRange range;
    if (index >= beats.size())
        return range;
    const EditItem& marker = beats[index];
    const std::int32_t beatRow = marker.beat * kRowsPerBeat;
    if (index > 0)
        range.lowest = std::max(range.lowest, beats[index - 1].row() - beatRow + 1);
    if (index + 1 < beats.size())
        range.highest = std::min(range.highest, beats[index + 1].row() - beatRow - 1);
    return range;
}

} // namespace quillex
