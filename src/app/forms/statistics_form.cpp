#include "app/forms/statistics_form.h"

namespace quillex {

StatisticsView statisticsView(const Editor& editor) {
    const LevelIndex level = editor.store().currentLevel();
    return {levelName(level),
            statisticsFields(levelStatistics(editor.store(), editor.song(), level)),
            breakdownLegend()};
}

std::string statisticsSummary(const ChartStatistics& stats) {
    return "NPS peak/average:  " + formatNotesPerSecond(stats.peakNps) + "/" +
           formatNotesPerSecond(stats.averageNps) + "   Stream:  " + stats.breakdown;
}

} // namespace quillex
