#include "fileio/sm_writer.h"

#include <algorithm>
#include <limits>

#include "base/number_format.h"
#include "fileio/sm_file_layout.h"
#include "fileio/song_paths.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

constexpr std::string_view kLineBreak = kFileLineBreak;
constexpr std::string_view kIndent = "     ";

void appendLine(std::string& out, std::string_view text) {
    appendFileLine(out, text);
}

void appendHeader(std::string& out, const SmWriteInput& in, const SmTempoText& tempo) {
    for (const std::string& line : songHeaderLines(in))
        appendLine(out, line);
    const double rate = in.sampleRate;
    appendLine(out, "#OFFSET:" + tempo.offset + ";");
    appendLine(out, "#SAMPLESTART:" + formatFixed3(in.previewStart / rate) + ";");
    appendLine(out, "#SAMPLELENGTH:" + formatFixed3(in.previewEnd / rate - in.previewStart / rate) +
                        ";");
}

void appendKeptTags(std::string& out, const Song& song) {
    for (std::string_view key : Song::keptTags()) {
        const std::string& value = song.tags().first(key);
        if (!value.empty())
            out.append(key).append(":").append(value).append(";").append(kLineBreak);
    }
}

// The comment line and "#NOTES:" a chart starts with, then its type, description,
// difficulty and meter fields, one indented line each.
void appendChartHeader(std::string& out, std::string_view typeName, std::string_view description,
                       std::string_view difficulty, std::string_view meter) {
    out.append("//---------------").append(typeName).append(" - ----------------");
    out.append(kLineBreak);
    appendLine(out, "#NOTES:");
    for (std::string_view field : {typeName, description, difficulty, meter})
        out.append(kIndent).append(field).append(":").append(kLineBreak);
}

// The radar values line: every value read is written back; a chart read with fewer
// than five (or made here, with none) gets zeros for the missing ones.
void appendRadarValues(std::string& out, const std::vector<std::string>& values) {
    out.append(kIndent);
    const std::size_t count = std::max<std::size_t>(values.size(), 5);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += ',';
        out += i < values.size() ? values[i] : std::string("0.000");
    }
    out.append(":").append(kLineBreak);
}

void appendChart(std::string& out, const SmWriteInput& in, const SongFileLayout& layout,
                 LevelIndex level) {
    const GameTypeInfo& type = gameTypeInfo(gameTypeOfLevel(level));
    const ChartTexts& texts = in.song.chartTexts()[static_cast<std::size_t>(level)];
    appendChartHeader(out, type.smName, texts.description,
                      difficultySmName(difficultyOfLevel(level)),
                      std::to_string(in.meters.get(level)));
    appendRadarValues(out, texts.radarValues);
    layout.appendMeasures(out, level);
}

void appendForeignChart(std::string& out, const ForeignChart& chart) {
    out.append(kLineBreak);
    appendChartHeader(out, chart.typeName, chart.description, chart.difficultyName,
                      chart.meterText);
    appendRadarValues(out, chart.radarValues);
    const std::size_t width = static_cast<std::size_t>(foreignColumnCount(chart.typeName));
    for (std::size_t m = 0; m < chart.measures.size(); ++m) {
        const std::string& measure = chart.measures[m];
        for (std::size_t pos = 0; pos < measure.size(); pos += width)
            appendLine(out, std::string_view(measure).substr(pos, width));
        appendLine(out, m + 1 < chart.measures.size() ? "," : ";");
    }
    if (chart.measures.empty())
        appendLine(out, ";");
}

} // namespace

std::string smSongText(const SmWriteInput& in) {
    std::string out;
    const SongFileLayout layout(in, false);
    const SmTempoText& tempo = layout.tempo();
    appendHeader(out, in, tempo);
    appendLine(out, "#BPMS:" + tempo.bpms + ";");
    appendLine(out, "#STOPS:" + tempo.stops + ";");
    appendKeptTags(out, in.song);
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        if (layout.holdsNotes(level))
            appendChart(out, in, layout, level);
    for (const ForeignChart& chart : in.song.foreignCharts())
        appendForeignChart(out, chart);
    return out;
}

} // namespace quillex
