#include "fileio/sm_writer.h"

#include <algorithm>
#include <limits>

#include "base/number_format.h"
#include "fileio/sm_chart_text.h"
#include "fileio/sm_file_layout.h"
#include "fileio/song_paths.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

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

void appendChart(std::string& out, const SmWriteInput& in, const SongFileLayout& layout,
                 LevelIndex level) {
    const GameTypeInfo& type = gameTypeInfo(gameTypeOfLevel(level));
    const ChartTexts& texts = in.song.chartTexts()[static_cast<std::size_t>(level)];
    appendSmChartHeader(out, type.smName, texts.description,
                        difficultySmName(difficultyOfLevel(level)),
                        std::to_string(in.meters.get(level)), texts.radarValues);
    layout.appendMeasures(out, level);
}

} // namespace

std::string smSongText(const SmWriteInput& in) {
    std::string out;
    const SongFileLayout layout(in, false);
    const SmTempoText& tempo = layout.tempo();
    appendHeader(out, in, tempo);
    appendLine(out, "#BPMS:" + tempo.bpms + ";");
    appendLine(out, "#STOPS:" + tempo.stops + ";");
    appendKeptSongStatements(out, in.song);
    for (const ChartSlot& slot : layout.charts()) {
        if (!slot.kept) {
            appendChart(out, in, layout, slot.index);
            continue;
        }
        // A chart with timing of its own is left out: the file has the song's alone.
        const KeptChart& chart = in.song.kept().charts[static_cast<std::size_t>(slot.index)];
        if (!chart.ownTiming)
            appendSmChart(out, smChartOf(chart));
    }
    return out;
}

} // namespace quillex
