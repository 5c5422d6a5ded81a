// The statistics of a chart kept as read from a `.ssc`: its notes are timed by its own
// timing (or the song's where it has none), not by the beat markers, so they are
// counted from the chart's text.
#pragma once

#include <string>

#include "fileio/sm_chart_text.h"
#include "fileio/ssc_parser.h"
#include "model/kept_charts.h"
#include "tools/chart_statistics.h"

namespace quillex {

// Its figures; notes inside a warp are not played and not counted.
ChartStatistics keptChartStatistics(const KeptChart& chart, const SscTiming& songTiming);

// How statistics name it: "TYPE:DIFFICULTY" as levels are named, or the file's own
// spelling for a game type the editor does not know.
std::string keptChartLevelName(const KeptChart& chart);

} // namespace quillex
