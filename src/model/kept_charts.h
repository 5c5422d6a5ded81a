// What a `.ssc` song holds that the editor does not edit but writes back as it was
// read: the song statements the writer does not make itself, the tags of each edited
// chart besides its notes, the charts it cannot edit (a chart with timing of its own,
// a second chart of a level already taken, a game type it does not know), and the
// order the file gave its charts.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/game_type.h"

namespace quillex {

// One "#KEY:value;" statement as the file spelled it.
struct KeptStatement {
    std::string key;
    std::string value;

    friend bool operator==(const KeptStatement&, const KeptStatement&) = default;
};

// A chart written back byte for byte: its section from "#NOTEDATA" up to the next one.
struct KeptChart {
    std::string sectionText;
    std::string stepsType;  // as the file spells it
    std::string difficulty; // as the file spells it
    std::string chartName;
    bool ownTiming = false;          // it plays by timing tags of its own
    std::optional<LevelIndex> level; // the level it would be, when the editor has one
    // Its notes were moved onto its level at the song's timing: while that level has
    // notes, the level is written in its place (undone, the level is empty again and
    // the chart is written as read).
    bool converted = false;

    friend bool operator==(const KeptChart&, const KeptChart&) = default;
};

// One chart of the file, in file order: an edited level or a kept chart.
struct ChartSlot {
    bool kept = false;
    int index = 0; // the level, or the index into the kept charts

    friend bool operator==(const ChartSlot&, const ChartSlot&) = default;
};

struct KeptSongData {
    std::vector<KeptStatement> songStatements;
    // The song's timing statements as read: the charts kept as read are timed by them
    // where they have no timing of their own.
    std::vector<KeptStatement> songTiming;
    std::array<std::vector<KeptStatement>, kLevelCount> levelStatements;
    std::vector<KeptChart> charts;
    std::vector<ChartSlot> chartOrder;

    bool empty() const { return songStatements.empty() && charts.empty() && chartOrder.empty(); }
};

// "dance-single Edit "name"": how messages and the Level Manager name a kept chart.
std::string keptChartLabel(const KeptChart& chart);

} // namespace quillex
