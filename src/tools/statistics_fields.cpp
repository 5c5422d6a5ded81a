#include "tools/statistics_fields.h"

#include "base/number_format.h"
#include "tools/stream_breakdown.h"

namespace quillex {

std::string formatNotesPerSecond(double nps) {
    return formatFixed(nps, 2);
}

std::vector<StatisticsField> statisticsFields(const ChartStatistics& stats) {
    auto count = [](int n) { return std::to_string(n); };
    return {
        {"taps", "Taps", count(stats.taps)},
        {"jumps", "Jumps", count(stats.jumps)},
        {"hands", "Hands", count(stats.hands)},
        {"holds", "Holds", count(stats.holds)},
        {"rolls", "Rolls", count(stats.rolls)},
        {"mines", "Mines", count(stats.mines)},
        {"lifts", "Lifts", count(stats.lifts)},
        {"peak_nps", "Peak NPS", formatNotesPerSecond(stats.peakNps)},
        {"average_nps", "Average NPS", formatNotesPerSecond(stats.averageNps)},
        {"breakdown", "Stream breakdown", stats.breakdown, false},
    };
}

std::string breakdownLegend() {
    return "Stream: measures with " + std::to_string(kStreamRowsPerMeasure) +
           " or more rows of notes (16ths or faster). (n): a break of 1 to " +
           std::to_string(kShortBreakMeasures) + " measures; /n/: a longer break; " +
           std::string(kNoStream) + ": no stream.";
}

} // namespace quillex
