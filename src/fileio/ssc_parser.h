// Interpreting a `.ssc` file: the song's statements with its timing (#BPMS, #STOPS,
// #DELAYS, #WARPS), then one section per chart from "#NOTEDATA" on. A chart the editor
// can take (a known game type and difficulty, the song's timing, a level not yet
// taken) becomes that level's notes; any other chart is kept byte for byte, and every
// statement the editor does not make itself is kept in its order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/sm_parser.h"
#include "model/kept_charts.h"

namespace quillex {

// The timing statements of the song or of one chart section.
struct SscTiming {
    std::optional<double> offsetSeconds; // #OFFSET; none when absent or empty
    std::vector<SmTimedValue> bpms;
    std::vector<SmTimedValue> stops;
    std::vector<SmTimedValue> delays; // beat = seconds
    std::vector<SmTimedValue> warps;  // beat = length in beats
    bool any = false;                 // some timing statement was there
};

struct SscFileContent {
    SmTimingInput timing; // the song's tempos and stops and the taken levels
    SscTiming songTiming;
    ChartTextTable chartTexts;
    KeptSongData kept;
    std::vector<ChartDamage> damage;
    bool songTagsFound = false;
};

// `fileContent` is the file's bytes. Song statements the editor interprets as
// properties go to `tags` as well, as the `.sm` reader puts them.
SscFileContent parseSscText(std::string_view fileContent, TagMap& tags, Messages& messages);

// The timing statements kept as read (the song's, upper-case keys) as a timing.
SscTiming timingOfStatements(const std::vector<KeptStatement>& statements);

// The timing a chart section plays by: the song's when it names no timing of its own;
// otherwise its own lists alone, from the song's offset unless it gives one (an empty
// "#OFFSET" gives none).
SscTiming chartTimingOf(std::string_view sectionText, const SscTiming& songTiming);

// What a chart section says besides its notes and timing, for a chart kept as read
// that becomes a level: its meter, description, radar values and its other statements.
struct ChartSectionTexts {
    std::int32_t meter = 1;
    std::string meterText; // as the file gives it
    ChartTexts texts;
    std::vector<KeptStatement> statements; // timing statements left out
};
ChartSectionTexts chartSectionTextsOf(std::string_view sectionText);

// The measures of a chart section's "#NOTES" (or "#NOTES2").
std::vector<std::string> chartMeasuresOf(std::string_view sectionText);

} // namespace quillex
