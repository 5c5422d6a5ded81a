#include "fileio/kept_chart_conversion.h"

#include <cmath>

#include "base/number_format.h"
#include "fileio/ssc_timeline.h"
#include "items/busy_counter.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

// The nearest row of the song's grid at a time, and whether it lies within a quarter
// of a row of that time.
struct GridPlace {
    RowPosition row;
    bool onGrid;
};

GridPlace placeAt(const TimingMap& map, double seconds) {
    const double sample = seconds * map.sampleRate();
    const RowPosition row = map.sampleToRow(static_cast<SamplePosition>(std::llround(sample)));
    const double at = static_cast<double>(map.rowToSample(row));
    const double rowSamples = static_cast<double>(map.rowToSample(row.plusRows(1))) - at;
    return {row, std::abs(at - sample) <= std::max(1.0, rowSamples / 4)};
}

} // namespace

bool writtenAsRead(const KeptChart& chart, const ItemStore& store) {
    return !chart.converted || !chart.level || store.notes(*chart.level).empty();
}

std::string conversionRefusal(const Song& song, const ItemStore& store, std::size_t index) {
    const KeptSongData& kept = song.kept();
    if (index >= kept.charts.size() || !writtenAsRead(kept.charts[index], store))
        return std::string(kNoChartToConvertMessage);
    const KeptChart& chart = kept.charts[index];
    const std::string name = keptChartLabel(chart);
    if (!chart.level)
        return "quillex cannot edit " + name + ", so it stays as read.";
    if (!store.notes(*chart.level).empty())
        return "The level of " + name + " already has notes; the chart stays as read.";
    return std::string();
}

bool convertKeptChart(SongFileContext& context, std::size_t index) {
    if (const std::string refusal = conversionRefusal(context.song, context.store, index);
        !refusal.empty()) {
        context.messages.show(refusal);
        return false;
    }
    KeptSongData& kept = context.song.kept();
    KeptChart& chart = kept.charts[index];
    const std::string name = keptChartLabel(chart);
    const LevelIndex level = *chart.level;
    const TimingMap map = context.store.timing();
    const SscTiming songTiming = timingOfStatements(kept.songTiming);
    const SscTimeline timeline(chartTimingOf(chart.sectionText, songTiming));
    std::string offGrid;
    int offGridCount = 0;
    {
        BusyGuard busy(context.store.busyCounter());
        for (const KeptNote& note :
             keptChartNotes(chart.sectionText, columnCountOfLevel(level), songTiming)) {
            if (!note.seconds)
                continue; // inside a warp of its own: never played
            const GridPlace head = placeAt(map, *note.seconds);
            RowPosition length = RowPosition::fromRow(0);
            if (note.lengthRows > 0)
                if (const auto tail = timeline.noteSeconds(note.row + note.lengthRows))
                    length = RowPosition::fromRow(
                        std::max(1, placeAt(map, *tail).row.row() - head.row.row()));
            if (!head.onGrid && ++offGridCount <= 10)
                offGrid += "\n  beat " +
                           formatNumber(static_cast<double>(note.row) / kRowsPerBeat) +
                           ", column " + std::to_string(note.column + 1);
            context.store.addNote(level, note.column, head.row, length,
                                  noteKindFromSmHead(note.character).value_or(NoteKind::Tap));
        }
        const ChartSectionTexts texts = chartSectionTextsOf(chart.sectionText);
        context.meters.set(level, texts.meter);
        context.song.chartTexts()[static_cast<std::size_t>(level)] = texts.texts;
        kept.levelStatements[static_cast<std::size_t>(level)] = texts.statements;
        chart.converted = true;
    }
    context.store.refresh();
    if (offGridCount > 0)
        context.messages.show(std::to_string(offGridCount) + " note(s) of " + name +
                              " land between the rows of the song's grid and were put on "
                              "the nearest row:" +
                              offGrid + (offGridCount > 10 ? "\n  …" : ""));
    return true;
}

} // namespace quillex
