#include "tools/straighten.h"

#include <cmath>
#include <vector>

namespace quillex {

std::variant<BeatMove, std::string_view> planStraighten(const ItemStore& store) {
    const ItemList& beats = store.beats();
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < beats.size(); ++i)
        if (beats[i].selected)
            selected.push_back(i);
    if (selected.size() < 3)
        return kStraightenNeedsThreeMessage;
    // The least-squares line sample = a + b * row, rows relative to the first, counting
    // only the rows that take time (a warp's take none).
    const TimingMap timing = store.timing();
    const auto rowOf = [&timing](const EditItem& b) {
        return static_cast<double>(timing.timedRow(b.row()));
    };
    const double row0 = rowOf(beats[selected.front()]);
    double meanRow = 0, meanSample = 0;
    for (std::size_t i : selected) {
        meanRow += rowOf(beats[i]) - row0;
        meanSample += static_cast<double>(beats[i].sample);
    }
    meanRow /= static_cast<double>(selected.size());
    meanSample /= static_cast<double>(selected.size());
    double srr = 0, srs = 0;
    for (std::size_t i : selected) {
        const double r = rowOf(beats[i]) - row0 - meanRow;
        srr += r * r;
        srs += r * (static_cast<double>(beats[i].sample) - meanSample);
    }
    const double slope = srs / srr;
    BeatMove move;
    move.first = selected.front();
    const SamplePosition length = timing.musicLength();
    for (std::size_t i = selected.front(); i <= selected.back(); ++i) {
        const EditItem& b = beats[i];
        SamplePosition sample = b.sample;
        if (b.selected && !b.locked)
            sample = static_cast<SamplePosition>(
                std::lround(meanSample + slope * (rowOf(b) - row0 - meanRow)));
        const SamplePosition before = i == 0            ? -1
                                      : i == move.first ? beats[i - 1].sample
                                                        : move.samples.back();
        const SamplePosition after =
            i + 1 < beats.size() && i == selected.back() ? beats[i + 1].sample : length + 1;
        if (sample < 0 || sample > length || sample <= before || sample >= after)
            return kMoveLeavesMusicMessage;
        move.samples.push_back(sample);
    }
    return move;
}

} // namespace quillex
