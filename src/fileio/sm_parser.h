// Interpreting the statements of a `.sm` file: tempo changes, stops and charts are
// taken apart here; every other statement goes to the song's tag map, and those the
// writer does not make itself are kept in their order to be written back. The first
// chart of each level the editor edits becomes that level; every other chart is kept
// as read. Damage the reader can work around (a chart cut short, text in a chart that
// is no note row) is noted for the reader to report.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/sm_timing.h"
#include "fileio/statement_text.h"
#include "model/kept_charts.h"
#include "model/note_kind.h"
#include "model/song.h"
#include "model/tag_map.h"
#include "ports/messages.h"

namespace quillex {

// What was wrong with one chart of a damaged file.
struct ChartDamage {
    std::string chart;       // type and difficulty, "dance-single Challenge"
    bool unclosed = false;   // the chart ends without its closing ";"
    int measuresSkipped = 0; // measures that were not note rows, read as empty
};

struct SmFileContent {
    SmTimingInput timing; // the offset is filled in from the tags by the caller
    ChartTextTable chartTexts;
    KeptSongData kept; // song statements, the song's timing, kept charts, chart order
    std::vector<ChartDamage> damage;
    bool songTagsFound = false; // any statement a song file has (#TITLE, #NOTES, …)
};

inline constexpr std::string_view kNotesErrorMessage =
    "I sense an error reading the #NOTES information.  I will try to ignore it.";

// `joinedText` is the file's text as readJoinedText gives it, with the closings the
// joining added and where its lines begin (without them, a chart of a game type the
// editor does not know is taken to have the columns chartColumnsOf guesses). Each
// "#NOTES" statement that does not have six fields shows the #NOTES message and is
// skipped.
SmFileContent parseSmText(std::string_view joinedText, TagMap& tags, Messages& messages,
                          const std::vector<std::size_t>& addedClosings = {},
                          const std::vector<std::size_t>& lineStarts = {});
inline SmFileContent parseSmText(const JoinedText& joined, TagMap& tags, Messages& messages) {
    return parseSmText(joined.text, tags, messages, joined.addedClosings, joined.lineStarts);
}

// Whether a statement's key is one a song file has ("#TITLE", "#MUSIC", "#NOTES" …),
// whatever its case and the blanks around it.
bool isSongKey(std::string_view key);

// Whether the writers make a song statement themselves from the song's properties and
// markers (`upperKey` upper-case and trimmed); every other one is kept as read.
bool isWrittenSongKey(std::string_view upperKey);
// Adds a song statement to the kept ones unless the writers make it themselves.
void keepSongStatement(const Statement& statement, KeptSongData& kept);

// Per-note keysounds ("1[3]") and attributes ("{...}"), which the editor's notes cannot
// hold: a chart that has them is kept as read.
bool hasNoteAnnotations(std::string_view noteData);

// "#BPMS", "#STOPS" and their kin: beat=value pairs separated by ",". A value without
// "," is one pair, taken only when both of its texts are there.
void appendTimedValues(std::string_view value, std::vector<SmTimedValue>& out);
// Note data spreads over many lines, which are joined without separators; blanks
// inside it (indentation, trailing spaces) carry no meaning and are removed.
std::vector<std::string> splitMeasures(std::string_view noteData);
// A measure that is not whole rows of note characters is read as an empty measure, so
// that the measures after it keep their beats. Returns how many were.
int emptyMeasuresThatAreNotNoteRows(std::vector<std::string>& measures, int columns);
// How a damaged chart is named: "dance-single Challenge", or the file's own words for a
// chart of no level.
std::string chartDamageName(std::optional<LevelIndex> level, std::string_view type,
                            std::string_view difficulty);

// The message for a damaged file: its path, then each damaged chart and what was
// skipped. Empty when nothing was damaged.
std::string damageMessage(const std::string& path, const std::vector<ChartDamage>& damage);

} // namespace quillex
