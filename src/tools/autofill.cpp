#include "tools/autofill.h"

#include <cmath>
#include <vector>

namespace quillex {

std::size_t fillAtAverageBpm(ItemStore& store, double bpm, double offsetSeconds) {
    const TimingMap timing = store.timing();
    const double step = timing.sampleRate() * (60.0 / bpm);
    store.beatList().clear();
    store.setModified(true);
    std::size_t added = 0;
    if (std::isfinite(step) && step >= 1 && std::isfinite(offsetSeconds) && offsetSeconds >= 0) {
        const double length = timing.musicLength();
        for (double x = timing.sampleRate() * offsetSeconds; std::trunc(x) <= length; x += step) {
            store.addBeat(static_cast<SamplePosition>(std::trunc(x)));
            ++added;
        }
    }
    store.refresh();
    return added;
}

std::size_t insertBetweenSelected(ItemStore& store, std::int64_t count) {
    std::vector<SamplePosition> selected;
    for (const EditItem& b : store.beats())
        if (b.selected)
            selected.push_back(b.sample);
    std::vector<SamplePosition> positions;
    const std::int64_t parts = count + 1;
    for (std::size_t i = 1; count > 0 && i < selected.size(); ++i) {
        const std::int64_t step = (std::int64_t{selected[i]} - selected[i - 1]) / parts;
        if (step < 1)
            continue;
        std::int64_t pos = selected[i - 1];
        for (std::int64_t k = 0; k < count; ++k) {
            pos += step;
            positions.push_back(static_cast<SamplePosition>(pos));
        }
    }
    for (SamplePosition s : positions)
        store.addBeat(s);
    store.refresh();
    return positions.size();
}

} // namespace quillex
