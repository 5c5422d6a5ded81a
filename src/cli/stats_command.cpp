// `quillex-tool stats SONG [--level TYPE:DIFFICULTY] [--json]`: the statistics of every
// chart of a song (or of one), a tab-separated table with a header line, or a JSON
// array of one object per chart. A `.sm` song is read without its music (its timing
// alone places the notes in seconds), so a song takes milliseconds; a `.qx` song's
// beats are samples of its music, which is therefore loaded.
#include <algorithm>

#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "cli/transform_command.h"
#include "fileio/song_paths.h"
#include "tools/statistics_fields.h"

namespace quillex {

namespace {

struct ChartFigures {
    LevelIndex level;
    std::vector<StatisticsField> fields;
};

void printTable(const std::vector<ChartFigures>& charts, std::ostream& out) {
    out << "level";
    for (const StatisticsField& field : statisticsFields({}))
        out << '\t' << field.key;
    out << '\n';
    for (const ChartFigures& chart : charts) {
        out << levelName(chart.level);
        for (const StatisticsField& field : chart.fields)
            out << '\t' << field.value;
        out << '\n';
    }
}

// The texts are level names, digits and the breakdown's brackets: nothing to escape.
void printJson(const std::vector<ChartFigures>& charts, std::ostream& out) {
    out << '[';
    for (std::size_t c = 0; c < charts.size(); ++c) {
        out << (c == 0 ? "\n" : ",\n") << "  {\"level\": \"" << levelName(charts[c].level) << '"';
        for (const StatisticsField& field : charts[c].fields) {
            out << ", \"" << field.key << "\": ";
            if (field.number)
                out << field.value;
            else
                out << '"' << field.value << '"';
        }
        out << '}';
    }
    out << (charts.empty() ? "]\n" : "\n]\n");
}

int runStats(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             AudioBackend audio) {
    std::vector<std::string> rest;
    std::copy_if(arguments.begin(), arguments.end(), std::back_inserter(rest),
                 [](const std::string& a) { return a != "--json"; });
    const bool json = rest.size() != arguments.size();
    const auto parsed = parseToolArguments(rest, {"--level"}, err);
    if (!parsed)
        return kToolUsage;
    std::optional<LevelIndex> only;
    if (const std::string* name = parsed->option("--level")) {
        only = levelFromName(*name);
        if (!only) {
            err << "quillex-tool: " << kLevelNameRefusal << '\n';
            return kToolUsage;
        }
    }
    // A song file's tempos place its notes in seconds, so its music is not needed; a
    // .qx holds its markers as sample positions of the music, which must be loaded.
    const std::string_view extension = extensionOf(parsed->file);
    const bool timedByFile = extension == ".sm" || extension == ".ssc";
    ToolEditor tool(err, std::move(audio),
                    timedByFile ? MissingMusic::Skip : MissingMusic::StandIn);
    if (!openFile(tool.editor, tool.files, parsed->file, err))
        return kToolFailed;
    const ItemStore& store = tool.editor.store();
    std::vector<ChartFigures> charts;
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (only ? level == *only : !store.notes(level).empty())
            charts.push_back(
                {level, statisticsFields(levelStatistics(store, tool.editor.song(), level))});
    if (json)
        printJson(charts, out);
    else
        printTable(charts, out);
    return kToolSuccess;
}

} // namespace

const ToolCommand kStatsCommand = {
    "stats", "       quillex-tool stats SONG [--level TYPE:DIFFICULTY] [--json]\n", runStats};

} // namespace quillex
