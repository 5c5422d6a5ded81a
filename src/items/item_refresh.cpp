// The refresh: after every edit, the lists are put back into canonical order and
// whatever may not exist is removed. Lists that need no change are left untouched,
// so that they stay shared with the snapshots of the undo history.
#include <algorithm>

#include "items/item_store.h"
#include "items/note_order.h"
#include "items/warp_rows.h"

namespace quillex {

namespace {

using Items = ItemList::Items;

bool sameNoteSpot(const EditItem& a, const EditItem& b) {
    return a.beat == b.beat && a.fraction == b.fraction && a.column == b.column;
}

// True when a hold's rows (start to end, inclusive) hold another note of its column.
// `i` is the hold's index in a list sorted by row.
template <typename List> bool holdCoversAnotherNote(const List& notes, std::size_t i) {
    const EditItem& hold = notes[i];
    const std::int32_t start = hold.row();
    const std::int32_t end = hold.endRow();
    for (std::size_t j = i; j-- > 0 && notes[j].row() == start;)
        if (notes[j].column == hold.column)
            return true;
    for (std::size_t j = i + 1; j < notes.size() && notes[j].row() <= end; ++j)
        if (notes[j].column == hold.column)
            return true;
    return false;
}

// A copy of `notes` whose samples from index `first` on follow the timing `map`.
Items retimedFrom(const ItemList& notes, std::size_t first, const TimingMap& map) {
    Items retimed(notes);
    TimingMap::SequentialConverter toSample(map);
    for (std::size_t i = first; i < retimed.size(); ++i)
        retimed[i].sample = toSample(retimed[i].start());
    return retimed;
}

bool notesSortedWithoutDuplicates(const Items& notes) {
    for (std::size_t i = 1; i < notes.size(); ++i)
        if (noteKey(notes[i - 1]) >= noteKey(notes[i]))
            return false;
    return true;
}

// Of notes on one spot (sorted next to each other) the first stays, or with
// `removeBoth` a pair goes together.
void removeSharedSpots(Items& notes, bool removeBoth) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < notes.size();) {
        std::size_t next = i + 1;
        if (next < notes.size() && sameNoteSpot(notes[i], notes[next])) {
            if (removeBoth) {
                i += 2;
                continue;
            }
            while (next < notes.size() && sameNoteSpot(notes[i], notes[next]))
                ++next;
        }
        notes[out++] = notes[i];
        i = next;
    }
    notes.resize(out);
}

} // namespace

void ItemStore::refresh() {
    refreshAll(false);
}

void ItemStore::refreshAfterPauseDrag() {
    refreshAll(true);
}

void ItemStore::refreshAll(bool selectedPausesFollowSamples) {
    BusyGuard busy(busy_);

    // The warps come first, as the beats are numbered around them; then the beats:
    // every note and stretch is timed from them, so they must be sorted, numbered and
    // free of duplicates before anything is converted.
    refreshWarps(selectedPausesFollowSamples);
    refreshBeats();
    removeWarpsPastTheBeats();
    refreshStretches(pauses_, selectedPausesFollowSamples);
    refreshStretches(delays_, selectedPausesFollowSamples);
    noteTimingChange();
    const TimingMap map = timing();
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        refreshNotes(level, map);
    rebuildNoteTimes();
}

namespace {

// The number of the regular beat after beat `beat`: the next one whose row no warp
// skips.
std::int32_t nextBeatNumber(const ItemList& warps, std::int32_t beat) {
    ++beat;
    while (!warps.empty() && rowSwallowedByWarp(warps, beat * kRowsPerBeat))
        ++beat;
    return beat;
}

// True when the beat list already is what the refresh would make of it: strictly
// ascending, regular beats at both ends and numbered around the warps.
// Most refreshes (a note edit, an undo) find it so and leave the list alone without
// copying it.
bool beatsAlreadyInOrder(const ItemList& beats, const ItemList& warps, bool& anySubBeat) {
    anySubBeat = false;
    if (beats.size() > 1 && (beats.front().isSubBeat || beats.back().isSubBeat))
        return false;
    std::int32_t counter = 0;
    std::int32_t lastFraction = 0;
    for (std::size_t i = 0; i < beats.size(); ++i) {
        const EditItem& b = beats[i];
        if (i > 0 && beats[i - 1].sample >= b.sample)
            return false;
        if (b.isSubBeat) {
            if (b.beat != counter || b.fraction <= lastFraction ||
                (!warps.empty() && rowSwallowedByWarp(warps, b.row())))
                return false;
            lastFraction = b.fraction;
            anySubBeat = true;
        } else if (b.beat != (counter = nextBeatNumber(warps, counter)) || b.fraction != 0) {
            return false;
        } else {
            lastFraction = 0;
        }
    }
    return true;
}

} // namespace

void ItemStore::refreshBeats() {
    const SamplePosition length = music_.musicLength();
    const ItemList& old = beats_;
    if (old.sharesStorageWith(beatsInOrder_.beats) && length == beatsInOrder_.musicLength &&
        warps_.sharesStorageWith(beatsInOrder_.warps))
        return; // found in order before, and unchanged since
    bool anyInOrder = false;
    if (beatsAlreadyInOrder(old, warps_, anyInOrder)) {
        hasSubBeats_ = anyInOrder;
        beatsInOrder_ = {old, length, warps_};
        return;
    }

    // Markers may lie before the music's first sample and after its last: the chart
    // goes on over silence there.
    Items beats = old;

    std::stable_sort(beats.begin(), beats.end(),
                     [](const EditItem& a, const EditItem& b) { return a.sample < b.sample; });

    // Of two markers on one sample, the later in order survives.
    Items unique;
    unique.reserve(beats.size());
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (i + 1 == beats.size() || beats[i].sample != beats[i + 1].sample)
            unique.push_back(beats[i]);

    // The first and last markers must be regular beats.
    if (unique.size() > 1) {
        auto firstRegular = std::find_if(unique.begin(), unique.end(),
                                         [](const EditItem& b) { return !b.isSubBeat; });
        unique.erase(unique.begin(), firstRegular);
        if (unique.size() > 1) {
            while (!unique.empty() && unique.back().isSubBeat)
                unique.pop_back();
        }
    }

    // Within one beat the sub-beats' fractions must rise with their samples: a sub-beat
    // on or before the row of the one before it (a pasted one, say) would give a tempo
    // of zero or below, so it goes.
    bool anySubBeat = false;
    std::int32_t counter = 0;
    std::int32_t lastFraction = 0;
    std::size_t kept = 0;
    for (EditItem& b : unique) {
        if (b.isSubBeat) {
            if (b.fraction <= lastFraction ||
                rowSwallowedByWarp(warps_, counter * kRowsPerBeat + b.fraction))
                continue;
            lastFraction = b.fraction;
            b.beat = counter;
            anySubBeat = true;
        } else {
            b.beat = counter = nextBeatNumber(warps_, counter);
            b.fraction = 0;
            lastFraction = 0;
        }
        unique[kept++] = b;
    }
    unique.resize(kept);
    hasSubBeats_ = anySubBeat;

    if (unique != old)
        beats_.replace(std::move(unique));
}

void ItemStore::noteTimingChange() {
    const SamplePosition length = music_.musicLength();
    if (beats_.sharesStorageWith(timedBy_.beats) && length == timedBy_.musicLength &&
        warps_.sharesStorageWith(timedBy_.warps))
        return;
    timedBy_ = {beats_, length, warps_};
    ++timingRevision_;
}

void ItemStore::refreshNotes(LevelIndex level, const TimingMap& map) {
    ItemList& list = notes_[level];
    if (list.empty() || refreshChangedNotes(level, map))
        return;
    // Nothing may lie past the last marker's row, where the timing ends (counting
    // markers would let sub-beats stretch the chart past it).
    const std::int64_t lastAllowedRow = beats_.empty() ? 0 : beats_.items().back().row();
    const bool pruneLate = list.size() > 1;
    auto isLate = [&](const EditItem& n) { return pruneLate && n.row() > lastAllowedRow; };

    // A read-only pass first: most refreshes change nothing in most levels, and an
    // untouched list stays shared with the undo history. It also finds the common case
    // of a marker move, where the list is in order and only samples change: then one
    // pass builds the re-timed list instead of copying it and fixing it step by step.
    const ItemList& current = list;
    bool tidy = true; // sorted, no duplicates, nothing late, no hold over another note
    std::size_t firstRetimed = current.size();
    std::int32_t longestHold = 0;
    {
        TimingMap::SequentialConverter toSample(map);
        std::int64_t previousKey = 0;
        std::size_t i = 0;
        for (auto it = current.begin(); it != current.end(); ++it, ++i) {
            const EditItem& n = *it;
            tidy = tidy && (i == 0 || previousKey < noteKey(n)) && !isLate(n) &&
                   !(n.isHold && holdCoversAnotherNote(current, i));
            if (!tidy && firstRetimed < current.size())
                break; // everything will be re-timed
            if (firstRetimed == current.size() && n.sample != toSample(n.start()))
                firstRetimed = i;
            previousKey = noteKey(n);
            if (n.isHold)
                longestHold = std::max(longestHold, n.lengthRows());
        }
    }
    RefreshedNotes& refreshed = refreshedNotes_[level];
    if (tidy) {
        // A re-timed list stays one vector (the next refresh by changes cuts it), so a
        // marker move copies the notes once.
        if (firstRetimed < current.size())
            list.replace(retimedFrom(current, firstRetimed, map));
        else
            list.rechunk();
        refreshed = {list, longestHold, timingRevision_};
        return;
    }

    const bool anyStale = firstRetimed < current.size();
    Items& notes = list.edit();
    notes.erase(std::remove_if(notes.begin(), notes.end(), isLate), notes.end());
    const auto byKey = [](const EditItem& a, const EditItem& b) { return noteKey(a) < noteKey(b); };
    // New notes are appended to a sorted list: sorting only what follows the sorted
    // part and merging it in gives the stable sort's order without sorting the chart.
    const auto unsorted = std::is_sorted_until(notes.begin(), notes.end(), byKey);
    if (unsorted != notes.end()) {
        std::stable_sort(unsorted, notes.end(), byKey);
        std::inplace_merge(notes.begin(), unsorted, notes.end(), byKey);
    }
    // A note's sample follows from its row alone: only a list with a stale one (the
    // markers moved) is re-timed.
    if (anyStale) {
        TimingMap::SequentialConverter toSample(map);
        for (EditItem& n : notes)
            n.sample = toSample(n.start());
    }

    // Holds that run over another note of their column become taps. Decide for every
    // hold before changing any, so that one hold losing its length does not spare
    // another.
    std::vector<std::size_t> covered;
    for (std::size_t i = 0; i < notes.size(); ++i)
        if (notes[i].isHold && holdCoversAnotherNote(notes, i))
            covered.push_back(i);
    for (std::size_t i : covered)
        notes[i].isHold = false;
    longestHold = 0;
    for (const EditItem& n : notes)
        if (n.isHold)
            longestHold = std::max(longestHold, n.lengthRows());

    // Two notes on one spot: both go when pasting overrides and toggling deletes,
    // otherwise the first stays.
    if (!notesSortedWithoutDuplicates(notes))
        removeSharedSpots(notes, options_.pasteOverride && toggleDelete_);
    list.rechunk();
    // Now in order, timed and without a hold over another note, as a tidy list is.
    refreshed = {list, longestHold, timingRevision_};
}

} // namespace quillex
