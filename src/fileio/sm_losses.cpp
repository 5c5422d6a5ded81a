#include "fileio/sm_losses.h"

namespace quillex {

std::vector<std::string> smLosses(const Song& song, const ItemStore&) {
    std::vector<std::string> losses;
    for (const KeptChart& chart : song.kept().charts)
        losses.push_back("the chart " + keptChartLabel(chart) + " kept as read" +
                         (chart.ownTiming ? " (it has timing of its own)" : ""));
    return losses;
}

std::string smLossQuestion(const std::vector<std::string>& losses) {
    std::string text = "A .sm file cannot hold all of this song. Left out would be:";
    for (const std::string& loss : losses)
        text += "\n  " + loss;
    text += "\nSave as .ssc to keep everything. Save the .sm file without them?";
    return text;
}

} // namespace quillex
