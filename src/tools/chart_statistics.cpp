#include "tools/chart_statistics.h"

#include <algorithm>
#include <optional>

#include "model/note_kind.h"
#include "tools/stream_breakdown.h"

namespace quillex {

namespace {

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The sample of any row: between the markers as the timing says, before the first and
// after the last at the tempo of the interval next to it, so every measure that holds
// a note has a length.
class MeasureClock {
  public:
    explicit MeasureClock(const TimingMap& timing) : timing_(timing) {}

    SamplePosition sampleAt(std::int64_t row) const {
        const ItemList& beats = timing_.beats();
        const EditItem& first = beats.front();
        const EditItem& last = beats.back();
        if (row < first.row())
            return extrapolated(first, beats[1], row);
        if (row > last.row())
            return extrapolated(beats[beats.size() - 2], last, row);
        return timing_.rowToSample(RowPosition::fromRow(row));
    }

  private:
    // Along the line through markers a and b.
    static SamplePosition extrapolated(const EditItem& a, const EditItem& b, std::int64_t row) {
        const double rows = b.row() - a.row();
        const double perRow = rows > 0 ? (static_cast<double>(b.sample) - a.sample) / rows : 0;
        return static_cast<SamplePosition>(a.sample + (row - a.row()) * perRow);
    }

    const TimingMap& timing_;
};

ChartStatistics withoutNotes() {
    ChartStatistics stats;
    stats.breakdown = streamBreakdown({});
    return stats;
}

// The one pass behind both forms. `kindOf` gives a note's kind, or nothing for a note
// that is not played; `secondsAt` the time the music reaches a row.
template <typename Notes, typename RowOf, typename KindOf, typename SecondsAt>
ChartStatistics tally(const Notes& notes, RowOf rowOf, KindOf kindOf, SecondsAt secondsAt,
                      std::int64_t originRow) {
    // The measures run from the earliest note's to the latest's, found over every note
    // rather than taken from the list's ends, so each note's measure is one of them
    // whatever the order it is handed in.
    auto first = notes.end();
    std::int64_t firstRow = 0;
    std::int64_t lastRow = 0;
    for (auto note = notes.begin(); note != notes.end(); ++note) {
        if (!kindOf(*note))
            continue;
        const std::int64_t r = rowOf(*note);
        if (first == notes.end())
            first = note, firstRow = lastRow = r;
        firstRow = std::min(firstRow, r);
        lastRow = std::max(lastRow, r);
    }
    if (first == notes.end())
        return withoutNotes();
    ChartStatistics stats;
    const std::int64_t firstMeasure = floorDivide(firstRow - originRow, kRowsPerMeasure);
    const std::int64_t lastMeasure = floorDivide(lastRow - originRow, kRowsPerMeasure);
    stats.measures.resize(static_cast<std::size_t>(lastMeasure - firstMeasure + 1));
    for (std::size_t m = 0; m < stats.measures.size(); ++m) {
        MeasureDensity& measure = stats.measures[m];
        measure.measure = static_cast<int>(firstMeasure + static_cast<std::int64_t>(m));
        const std::int64_t startRow = originRow + std::int64_t{measure.measure} * kRowsPerMeasure;
        measure.startSeconds = secondsAt(startRow);
        measure.endSeconds = secondsAt(startRow + kRowsPerMeasure);
    }

    std::int64_t row = rowOf(*first);
    int onRow = 0;
    auto endRow = [&] {
        if (onRow == 0)
            return;
        MeasureDensity& measure = stats.measures[static_cast<std::size_t>(
            floorDivide(row - originRow, kRowsPerMeasure) - firstMeasure)];
        measure.notes += onRow;
        ++measure.noteRows;
        stats.jumps += onRow == 2;
        stats.hands += onRow >= 3;
        onRow = 0;
    };
    for (auto note = first; note != notes.end(); ++note) {
        const std::optional<NoteKind> kind = kindOf(*note);
        if (!kind)
            continue;
        if (rowOf(*note) != row) {
            endRow();
            row = rowOf(*note);
        }
        stats.holds += *kind == NoteKind::Hold;
        stats.rolls += *kind == NoteKind::Roll;
        stats.lifts += *kind == NoteKind::Lift;
        if (*kind == NoteKind::Mine) {
            ++stats.mines;
            continue;
        }
        ++stats.taps;
        ++onRow;
    }
    endRow();

    std::vector<int> rowsPerMeasure;
    rowsPerMeasure.reserve(stats.measures.size());
    for (std::size_t m = 0; m < stats.measures.size(); ++m) {
        MeasureDensity& measure = stats.measures[m];
        const double seconds = measure.endSeconds - measure.startSeconds;
        measure.notesPerSecond = seconds > 0 ? measure.notes / seconds : 0;
        if (measure.notes > 0 &&
            (stats.peakMeasure < 0 || measure.notesPerSecond > stats.peakNps)) {
            stats.peakNps = measure.notesPerSecond;
            stats.peakMeasure = static_cast<int>(m);
        }
        rowsPerMeasure.push_back(measure.noteRows);
    }
    const double span = stats.measures.back().endSeconds - stats.measures.front().startSeconds;
    stats.averageNps = span > 0 ? stats.taps / span : 0;
    stats.breakdown = streamBreakdown(rowsPerMeasure);
    return stats;
}

} // namespace

ChartStatistics chartStatistics(const ItemList& notes, const TimingMap& timing,
                                const StretchRows& stretches, int originRow) {
    if (timing.beats().size() < 2 || timing.sampleRate() <= 0)
        return withoutNotes();
    const MeasureClock clock(timing);
    const double rate = timing.sampleRate();
    // Most songs have no stretches or warps: their rows are the file's and every note
    // is played, with no lookup per note.
    const bool anyStretches = !stretches.empty();
    const bool anyWarps = !timing.warps().empty();
    return tally(
        notes,
        [&](const EditItem& n) {
            return anyStretches ? stretches.withoutStretches(n.row()) : std::int64_t{n.row()};
        },
        [&](const EditItem& n) {
            const bool played = !(anyWarps && timing.insideWarp(n.row())) &&
                                !(anyStretches && stretches.inside(n.row()));
            return played ? std::optional<NoteKind>(noteKindOf(n)) : std::nullopt;
        },
        [&](std::int64_t row) {
            return static_cast<double>(clock.sampleAt(stretches.withStretches(row))) / rate;
        },
        originRow);
}

ChartStatistics chartStatistics(const std::vector<CountedNote>& notes,
                                const std::function<double(std::int64_t row)>& secondsAtRow) {
    return tally(
        notes, [](const CountedNote& n) { return n.row; },
        [](const CountedNote& n) { return std::optional<NoteKind>(n.kind); }, secondsAtRow, 0);
}

ChartStatistics levelStatistics(const ItemStore& store, const Song& song, LevelIndex level) {
    return chartStatistics(store.notes(level), store.timing(),
                           StretchRows(store.pauses(), store.delays()),
                           measureOriginRow(song.beatsBeforeFirstMarker()));
}

} // namespace quillex
