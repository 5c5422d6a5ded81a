#include "fileio/sm_losses.h"

#include "fileio/kept_chart_conversion.h"

namespace quillex {

namespace {

std::string countOf(std::size_t count, const std::string& one) {
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

} // namespace

std::vector<std::string> smLosses(const Song& song, const ItemStore& store) {
    std::vector<std::string> losses;
    if (!store.delays().empty())
        losses.push_back(countOf(store.delays().size(), "delay"));
    if (!store.warps().empty())
        losses.push_back(countOf(store.warps().size(), "warp"));
    for (const KeptChart& chart : song.kept().charts)
        if (writtenAsRead(chart, store))
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
