// `quillex-tool stats SONG [--level TYPE:DIFFICULTY] [--json]`: the statistics of every
// chart of a song (or of one), a tab-separated table with a header line, or a JSON
// array of one object per chart; the charts a `.ssc` keeps as read follow, timed by
// their own timing. A `.sm` song is read without its music (its timing
// alone places the notes in seconds), so a song takes milliseconds; a `.qx` song's
// beats are samples of its music, which is therefore loaded.
#include <algorithm>

#include "cli/analysed_music.h"
#include "cli/analysis_commands.h"
#include "cli/song_tool.h"
#include "cli/tool_editor.h"
#include "cli/transform_command.h"
#include "fileio/kept_chart_conversion.h"
#include "fileio/kept_chart_statistics.h"
#include "fileio/song_paths.h"
#include "tools/statistics_fields.h"

namespace quillex {

namespace {

struct ChartFigures {
    std::string level; // "TYPE:DIFFICULTY"
    std::vector<StatisticsField> fields;
};

// A kept chart's type and difficulty are the file's own text, so they are escaped.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + '"';
}

void printTable(const std::vector<ChartFigures>& charts, std::ostream& out) {
    out << "level";
    for (const StatisticsField& field : statisticsFields({}))
        out << '\t' << field.key;
    out << '\n';
    for (const ChartFigures& chart : charts) {
        out << chart.level;
        for (const StatisticsField& field : chart.fields)
            out << '\t' << field.value;
        out << '\n';
    }
}

void printJson(const std::vector<ChartFigures>& charts, std::ostream& out) {
    out << '[';
    for (std::size_t c = 0; c < charts.size(); ++c) {
        out << (c == 0 ? "\n" : ",\n") << "  {\"level\": " << jsonString(charts[c].level);
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
    // The charts kept as read from a .ssc follow the edited ones in file order; one
    // moved onto its level is counted there.
    const KeptSongData& kept = tool.editor.song().kept();
    const SscTiming songTiming = timingOfStatements(kept.songTiming);
    std::vector<ChartFigures> keptCharts;
    for (const KeptChart& chart : kept.charts)
        if (writtenAsRead(chart, store) && (!only || chart.level == only))
            keptCharts.push_back({keptChartLevelName(chart),
                                  statisticsFields(keptChartStatistics(chart, songTiming))});
    // A level asked for by name is printed even without notes, unless a kept chart
    // stands for it.
    std::vector<ChartFigures> charts;
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (!store.notes(level).empty() ? !only || level == *only
                                        : only == level && keptCharts.empty())
            charts.push_back({levelName(level),
                              statisticsFields(levelStatistics(store, tool.editor.song(), level))});
    charts.insert(charts.end(), keptCharts.begin(), keptCharts.end());
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
