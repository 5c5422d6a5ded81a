// What the Statistics dialog and the Level Manager's chart lines show of a chart's
// figures, without Qt.
#pragma once

#include <string>
#include <vector>

#include "app/session/editor.h"
#include "tools/statistics_fields.h"

namespace quillex {

struct StatisticsView {
    std::string chart; // "dance-single:Hard"
    std::vector<StatisticsField> fields;
    std::string legend; // how the breakdown reads
};

// The current chart's figures.
StatisticsView statisticsView(const Editor& editor);

// A chart's figures on one line of the Level Manager: peak and average notes per
// second and the breakdown.
std::string statisticsSummary(const ChartStatistics& stats);

} // namespace quillex
