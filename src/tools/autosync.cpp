#include "tools/autosync.h"

#include <algorithm>
#include <cmath>

namespace quillex {

SamplePosition autosyncStart(const ItemStore& store) {
    for (const EditItem& b : store.beats())
        if (b.selected)
            return b.sample;
    return -1;
}

std::size_t placeFoundBeats(ItemStore& store, SamplePosition from,
                            const std::vector<double>& beats) {
    std::vector<SamplePosition> locked;
    auto& list = store.beatList().edit();
    for (const EditItem& b : list)
        if (b.sample > from && b.locked)
            locked.push_back(b.sample);
    std::erase_if(list, [from](const EditItem& b) { return b.sample > from && !b.locked; });
    std::sort(locked.begin(), locked.end());
    store.setModified(true);
    std::size_t added = 0;
    const SamplePosition length = store.timing().musicLength();
    for (std::size_t i = 0; i < beats.size(); ++i) {
        const double half = 0.5 * (i + 1 < beats.size() ? beats[i + 1] - beats[i]
                                   : i > 0              ? beats[i] - beats[i - 1]
                                                        : 0);
        const auto sample = static_cast<SamplePosition>(std::lround(beats[i]));
        // Half a beat clear of the start marker and of every locked marker.
        if (sample <= from || static_cast<double>(sample - from) < half || sample > length)
            continue;
        const auto near =
            std::lower_bound(locked.begin(), locked.end(),
                             static_cast<SamplePosition>(std::lround(beats[i] - half)));
        if (near != locked.end() && static_cast<double>(*near) <= beats[i] + half)
            continue;
        store.addBeat(sample, {});
        ++added;
    }
    store.refresh();
    return added;
}

} // namespace quillex
