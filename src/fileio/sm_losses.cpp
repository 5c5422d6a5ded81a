#include "fileio/sm_losses.h"

#include <algorithm>

#include "fileio/kept_chart_conversion.h"
#include "fileio/sm_parser.h"
#include "fileio/ssc_parser.h"

namespace quillex {

namespace {

std::string countOf(std::size_t count, const std::string& one) {
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

// The chart statements with a value that a "#NOTES" statement has no field for: all
// but the radar values, the timing (the song's) and those the song itself has alike
// (a display list repeated in every chart), which the file keeps with the song.
void addUnheldStatements(const std::vector<KeptStatement>& statements, const Song& song,
                         const std::string& chart, std::vector<std::string>& losses) {
    const std::vector<KeptStatement>& songStatements = song.kept().songStatements;
    std::string keys;
    for (const KeptStatement& s : statements) {
        const std::string key = toUpper(s.key);
        if (key == "#RADARVALUES" || key == "#OFFSET" || key == "#BPMS" || key == "#STOPS" ||
            key == "#DELAYS" || key == "#WARPS" || trimBlanks(s.value).empty() ||
            std::find(songStatements.begin(), songStatements.end(), s) != songStatements.end())
            continue;
        keys += (keys.empty() ? "" : ", ") + s.key;
    }
    if (!keys.empty())
        losses.push_back(keys + " of the chart " + chart);
}

} // namespace

std::vector<std::string> smLosses(const Song& song, const ItemStore& store) {
    std::vector<std::string> losses;
    if (!store.delays().empty())
        losses.push_back(countOf(store.delays().size(), "delay"));
    if (!store.warps().empty())
        losses.push_back(countOf(store.warps().size(), "warp"));
    const KeptSongData& kept = song.kept();
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (!store.notes(level).empty())
            addUnheldStatements(kept.levelStatements[static_cast<std::size_t>(level)], song,
                                chartDamageName(level, "", ""), losses);
    for (const KeptChart& chart : kept.charts) {
        if (!writtenAsRead(chart, store))
            continue;
        if (chart.ownTiming)
            losses.push_back("the chart " + keptChartLabel(chart) +
                             " kept as read (it has timing of its own)");
        else
            addUnheldStatements(chartSectionTextsOf(chart.sectionText).statements, song,
                                keptChartLabel(chart), losses);
    }
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
