// The refresh of a long note list by what changed in it: when the timing is the one the
// list was last refreshed with, the notes that list still holds unchanged are known to
// be in order, timed and tidy, so only the changed notes are checked, timed and put in
// their places. An edit of a few notes then costs the chunks it touches, not the chart.
// Whatever needs the whole list (two notes on one spot, a hold running over a note) is
// left to the full refresh, which gives the same result.
#include <algorithm>

#include "items/item_store.h"
#include "items/list_diff.h"
#include "items/note_order.h"

namespace quillex {

namespace {

using Items = ItemList::Items;

// Shorter lists are refreshed whole: that is quick anyway.
constexpr std::size_t kShortestQuickList = 3 * ItemList::kMaxChunk;
// More changed notes than this are refreshed whole.
constexpr std::size_t kMostChangedNotes = ItemList::kMaxChunk;
// A hold is looked for this many notes back at most before the full refresh is left
// to decide whether one runs over a changed note.
constexpr std::size_t kMostHoldLookBack = ItemList::kMaxChunk;

// The notes that stayed unchanged since the last refresh: the list without its
// changed stretch [changedBegin, changedEnd). They are in order, with distinct keys.
struct UnchangedNotes {
    const ItemList& list;
    std::size_t changedBegin;
    std::size_t changedEnd;

    std::size_t size() const { return list.size() - (changedEnd - changedBegin); }
    const EditItem& operator[](std::size_t i) const {
        return list[i < changedBegin ? i : i + (changedEnd - changedBegin)];
    }
    // The index of the first note whose key is not below `key`.
    std::size_t lowerBound(std::int64_t key) const {
        const auto below = [](const EditItem& n, std::int64_t k) { return noteKey(n) < k; };
        const auto front = list.begin() + static_cast<std::ptrdiff_t>(changedBegin);
        if (changedBegin > 0 && noteKey(list[changedBegin - 1]) >= key)
            return static_cast<std::size_t>(std::lower_bound(list.begin(), front, key, below) -
                                            list.begin());
        const auto back = list.begin() + static_cast<std::ptrdiff_t>(changedEnd);
        return static_cast<std::size_t>(std::lower_bound(back, list.end(), key, below) - back) +
               changedBegin;
    }
};

// The changed notes as the full refresh leaves them: late ones dropped, timed, in order.
Items settledChanges(const ItemList& list, std::size_t first, std::size_t last,
                     const TimingMap& map, std::int64_t lastAllowedRow) {
    Items changed;
    for (auto it = list.begin() + static_cast<std::ptrdiff_t>(first),
              end = list.begin() + static_cast<std::ptrdiff_t>(last);
         it != end; ++it)
        if (it->row() <= lastAllowedRow)
            changed.push_back(*it);
    const auto byKey = [](const EditItem& a, const EditItem& b) { return noteKey(a) < noteKey(b); };
    std::stable_sort(changed.begin(), changed.end(), byKey);
    TimingMap::SequentialConverter toSample(map);
    for (EditItem& n : changed)
        n.sample = toSample(n.start());
    return changed;
}

bool covers(const EditItem& hold, const EditItem& note) {
    return hold.isHold && hold.column == note.column && hold.row() < note.row() &&
           note.row() <= hold.endRow();
}

// True when a changed note needs the full refresh: it shares a spot with another note,
// a hold runs over it, or it is a hold that runs over another note. `at[k]` is where
// changed note k goes among the unchanged ones; `longestHold` bounds their holds' rows.
bool needsFullRefresh(const Items& changed, const std::vector<std::size_t>& at,
                      const UnchangedNotes& unchanged, std::int32_t longestHold) {
    for (std::size_t k = 0; k < changed.size(); ++k) {
        const EditItem& n = changed[k];
        if (k > 0 && noteKey(changed[k - 1]) == noteKey(n))
            return true;
        if (at[k] < unchanged.size() && noteKey(unchanged[at[k]]) == noteKey(n))
            return true;
        std::size_t looked = 0;
        for (std::size_t j = at[k]; j-- > 0 && unchanged[j].row() >= n.row() - longestHold;)
            if (covers(unchanged[j], n) || ++looked > kMostHoldLookBack)
                return true;
        if (!n.isHold)
            continue;
        for (std::size_t j = at[k]; j < unchanged.size() && unchanged[j].row() <= n.endRow(); ++j)
            if (covers(n, unchanged[j]))
                return true;
        for (std::size_t j = k + 1; j < changed.size() && changed[j].row() <= n.endRow(); ++j)
            if (covers(n, changed[j]))
                return true;
    }
    return false;
}

} // namespace

bool ItemStore::refreshChangedNotes(LevelIndex level, const TimingMap& map) {
    ItemList& list = notes_[level];
    RefreshedNotes& refreshed = refreshedNotes_[level];
    if (refreshed.timingRevision != timingRevision_ || list.size() < kShortestQuickList)
        return false;
    if (list.sharesStorageWith(refreshed.list))
        return true;
    const ItemList& before = refreshed.list;
    const std::size_t front = equalFront(list, before, list.size());
    const std::size_t back = equalBack(list, before, std::min(list.size(), before.size()) - front);
    const std::size_t changedEnd = list.size() - back;
    if (changedEnd - front > kMostChangedNotes)
        return false;

    const std::int64_t lastAllowedRow = beats_.empty() ? 0 : beats_.back().row();
    const Items changed = settledChanges(list, front, changedEnd, map, lastAllowedRow);
    const UnchangedNotes unchanged{list, front, changedEnd};
    std::vector<std::size_t> at;
    at.reserve(changed.size());
    for (const EditItem& n : changed)
        at.push_back(unchanged.lowerBound(noteKey(n)));
    if (needsFullRefresh(changed, at, unchanged, refreshed.longestHold))
        return false;

    // The unchanged notes stay; each run of changed notes that goes between the same
    // two of them is put there in one splice.
    list.splice(front, changedEnd, {});
    for (std::size_t k = 0; k < changed.size();) {
        std::size_t next = k + 1;
        while (next < changed.size() && at[next] == at[k])
            ++next;
        list.splice(at[k] + k, at[k] + k, {changed.data() + k, next - k});
        k = next;
    }
    for (const EditItem& n : changed)
        if (n.isHold)
            refreshed.longestHold = std::max(refreshed.longestHold, n.lengthRows());
    list.rechunk(); // a list edit() joined into one vector since
    refreshed.list = list;
    return true;
}

} // namespace quillex
