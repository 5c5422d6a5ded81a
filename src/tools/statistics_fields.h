// The figures of a chart as texts, in one order with one name each: `quillex-tool
// stats` prints them (its JSON keys are the names) and the Statistics dialog shows
// them, so both show the same numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/chart_statistics.h"

namespace quillex {

struct StatisticsField {
    std::string_view key;   // "taps", "peak_nps", "breakdown", …
    std::string_view label; // "Taps", "Peak NPS", "Stream breakdown", …
    std::string value;
    bool number = true; // false for the breakdown, a text
};

std::vector<StatisticsField> statisticsFields(const ChartStatistics& stats);

// Notes per second with two decimals.
std::string formatNotesPerSecond(double nps);

// How the breakdown is written, with the threshold it uses.
std::string breakdownLegend();

} // namespace quillex
