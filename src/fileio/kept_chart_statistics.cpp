#include "fileio/kept_chart_statistics.h"

#include "fileio/ssc_timeline.h"
#include "fileio/statement_text.h"
#include "model/note_kind.h"

namespace quillex {

ChartStatistics keptChartStatistics(const KeptChart& chart, const SscTiming& songTiming) {
    std::vector<CountedNote> played;
    for (const KeptNote& note :
         keptChartNotes(chart.sectionText, keptChartColumns(chart), songTiming))
        if (note.seconds)
            played.push_back(
                {note.row, noteKindFromSmHead(note.character).value_or(NoteKind::Tap)});
    const SscTimeline timeline(chartTimingOf(chart.sectionText, songTiming));
    return chartStatistics(played, [&](std::int64_t row) { return timeline.rowSeconds(row); });
}

std::string keptChartLevelName(const KeptChart& chart) {
    return chart.level ? levelName(*chart.level) : chart.stepsType + ":" + chart.difficulty;
}

} // namespace quillex
