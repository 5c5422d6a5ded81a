#include "view/density_graph.h"

#include <algorithm>
#include <cmath>

namespace quillex {

void DensityGraph::update(const ItemStore& store) {
    const LevelIndex level = store.currentLevel();
    if (store.revision() == revision_ && level == level_ && originRow_ == computedOrigin_)
        return;
    revision_ = store.revision();
    level_ = level;
    computedOrigin_ = originRow_;
    const TimingMap timing = store.timing();
    sampleRate_ = timing.sampleRate();
    stats_ = chartStatistics(store.notes(level), timing,
                             StretchRows(store.pauses(), store.delays()), originRow_);
}

std::vector<DensityGraph::Span> DensityGraph::spans(const PositionBar& bar,
                                                    int clientHeight) const {
    std::vector<Span> runs;
    if (stats_.peakNps <= 0 || clientHeight <= 4)
        return runs;
    // The bar's inner rows run from its top + 1 to its bottom - 1.
    const int first = PositionBar::kTop + 1;
    const int last = PositionBar::kTop + clientHeight - 3;
    std::vector<int> lengths(static_cast<std::size_t>(last - first + 1), 0);
    for (const MeasureDensity& m : stats_.measures) {
        if (m.notes == 0)
            continue;
        const int length =
            std::max(1, static_cast<int>(std::lround(m.notesPerSecond / stats_.peakNps * kWidth)));
        const int top =
            std::clamp(bar.markerRow(sampleOf(m.startSeconds), clientHeight), first, last);
        const int bottom = std::clamp(
            std::max(top, bar.markerRow(sampleOf(m.endSeconds), clientHeight) - 1), first, last);
        for (int row = top; row <= bottom; ++row) {
            int& at = lengths[static_cast<std::size_t>(row - first)];
            at = std::max(at, length);
        }
    }
    for (int row = first; row <= last; ++row) {
        const int length = lengths[static_cast<std::size_t>(row - first)];
        if (!runs.empty() && runs.back().length == length && runs.back().bottom == row - 1)
            runs.back().bottom = row;
        else
            runs.push_back({row, row, length});
    }
    std::erase_if(runs, [](const Span& s) { return s.length == 0; });
    return runs;
}

std::optional<DensityGraph::Span> DensityGraph::peak(const PositionBar& bar,
                                                     int clientHeight) const {
    if (stats_.peakMeasure < 0)
        return std::nullopt;
    const MeasureDensity& m = stats_.measures[static_cast<std::size_t>(stats_.peakMeasure)];
    const int top = bar.markerRow(sampleOf(m.startSeconds), clientHeight);
    return Span{top, std::max(top, bar.markerRow(sampleOf(m.endSeconds), clientHeight) - 1),
                kWidth};
}

} // namespace quillex
