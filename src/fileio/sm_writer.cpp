#include "fileio/sm_writer.h"

#include <algorithm>
#include <limits>

#include "base/number_format.h"
#include "fileio/sm_tempo_fit.h"
#include "fileio/song_paths.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kIndent = "     ";

void appendLine(std::string& out, std::string_view text) {
    out.append(text).append(kLineBreak);
}

// The pauses of the song and the arithmetic that takes their rows out of the grid:
// what lies inside a pause is not written, and what lies after it moves up by its
// length, so that the file's beats run on as a game expects around a stop.
class PauseRemoval {
  public:
    PauseRemoval(const ItemList& pauseList, const TimingMap& map) {
        std::vector<EditItem> pauses(pauseList.begin(), pauseList.end());
        std::stable_sort(pauses.begin(), pauses.end(),
                         [](const EditItem& a, const EditItem& b) { return a.row() < b.row(); });
        std::int64_t total = 0;
        removedBefore_.push_back(0);
        for (const EditItem& p : pauses) {
            starts_.push_back(p.row());
            lengths_.push_back(p.lengthRows());
            startSamples_.push_back(map.rowToSample(p.start()));
            endSamples_.push_back(map.rowToSample(p.start().plusRows(p.lengthRows())));
            total += p.lengthRows();
            removedBefore_.push_back(total);
        }
    }

    std::size_t count() const { return starts_.size(); }
    std::int32_t startRow(std::size_t i) const { return starts_[i]; }
    SamplePosition startSample(std::size_t i) const { return startSamples_[i]; }
    SamplePosition endSample(std::size_t i) const { return endSamples_[i]; }
    std::int64_t shiftedPauseRow(std::size_t i) const { return shifted(starts_[i]); }

    // Strictly inside a pause: after its start and before its end.
    bool inside(std::int32_t row) const {
        const std::size_t before = pausesStartingBefore(row);
        return before > 0 &&
               row < static_cast<std::int64_t>(starts_[before - 1]) + lengths_[before - 1];
    }
    // The row with the rows of every pause that starts before it taken out; a row
    // inside a pause goes to where the pause starts.
    std::int64_t shifted(std::int32_t row) const {
        const std::size_t before = pausesStartingBefore(row);
        if (before > 0 && row < static_cast<std::int64_t>(starts_[before - 1]) + lengths_[before - 1])
            return starts_[before - 1] - removedBefore_[before - 1];
        return row - removedBefore_[before];
    }

  private:
    std::size_t pausesStartingBefore(std::int32_t row) const {
        return static_cast<std::size_t>(std::lower_bound(starts_.begin(), starts_.end(), row) -
                                        starts_.begin());
    }

    std::vector<std::int32_t> starts_;
    std::vector<std::int32_t> lengths_;
    std::vector<SamplePosition> startSamples_;
    std::vector<SamplePosition> endSamples_;
    std::vector<std::int64_t> removedBefore_;
};

// Where the song's rows lie in the file: the pause rows taken out, and beat marker 1
// (row 48) after the whole beats the file has before it, so that notes before marker 1
// keep a place and every measure keeps its number.
class FileGrid {
  public:
    FileGrid(const PauseRemoval& pauses, std::int32_t beatsBeforeFirstMarker)
        : pauses_(pauses),
          shift_(static_cast<std::int64_t>(beatsBeforeFirstMarker - 1) * kRowsPerBeat) {}
    bool inside(std::int32_t row) const { return pauses_.inside(row); }
    // The file row (48 per beat, row 0 on the file's beat 0) of a row of the song.
    std::int64_t fileRow(std::int32_t row) const { return pauses_.shifted(row) + shift_; }
    std::int64_t pauseFileRow(std::size_t i) const { return pauses_.shiftedPauseRow(i) + shift_; }

  private:
    const PauseRemoval& pauses_;
    std::int64_t shift_;
};

// The file's beats before beat marker 1: as many as the song was read with, and at
// least one when a note lies before the marker.
std::int32_t beatsBeforeFirstMarker(const SmWriteInput& in) {
    std::int32_t beats = std::max(in.song.beatsBeforeFirstMarker(), 0);
    for (LevelIndex level = 0; level < kLevelCount && beats == 0; ++level)
        for (const EditItem& note : in.store.notes(level))
            if (note.row() < kRowsPerBeat)
                beats = 1;
    return beats;
}

// The markers kept in the file and the pauses, in file order: a marker on a pause's
// start row before the pause, the one at its end after it.
std::vector<SmTimingPoint> timingPoints(const ItemList& beats, const PauseRemoval& pauses,
                                        const FileGrid& grid) {
    std::vector<SmTimingPoint> points;
    points.reserve(beats.size() + pauses.count());
    std::size_t pause = 0;
    const auto addPausesUpTo = [&](std::int64_t row) {
        for (; pause < pauses.count() && pauses.startRow(pause) < row; ++pause)
            points.push_back({SmTimingPoint::Kind::Pause, grid.pauseFileRow(pause),
                              static_cast<double>(pauses.endSample(pause)),
                              static_cast<double>(pauses.startSample(pause)), false});
    };
    for (const EditItem& beat : beats) {
        if (grid.inside(beat.row()))
            continue;
        addPausesUpTo(beat.row());
        points.push_back({SmTimingPoint::Kind::Marker, grid.fileRow(beat.row()),
                          static_cast<double>(beat.sample), 0, beat.isSubBeat});
    }
    addPausesUpTo(std::numeric_limits<std::int64_t>::max());
    return points;
}

SmTempoText tempoText(const SmWriteInput& in, const PauseRemoval& pauses, const FileGrid& grid) {
    const TimingMap map = in.store.timing();
    SmTempoFitInput fit;
    fit.sampleRate = in.sampleRate;
    fit.points = timingPoints(in.store.beats(), pauses, grid);
    fit.perBeatBpm = in.song.perBeatBpm();
    fit.removeDuplicateBpms = in.song.removeDuplicateBpms();
    fit.averageBpm = map.averageBpm(0, static_cast<int>(map.markerCount()) - 1);
    return fitSmTempo(fit);
}

void appendHeader(std::string& out, const SmWriteInput& in, const SmTempoText& tempo) {
    const SongProperties& properties = in.song.properties();
    const std::vector<std::string> lines =
        in.names ? properties.headerLines(in.names->music, in.names->banner, in.names->background)
                 : properties.headerLines(fileNameOf(in.musicPath));
    for (const std::string& line : lines)
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

// A character to put at a grid row of a chart.
struct GridMark {
    std::int64_t row; // grid row, 192 per measure
    std::int32_t column;
    char character;
};

// The marks of one level: heads at their rows, tails of holds and rolls. Nothing is
// put outside the grid; a hold whose tail would fall outside it is written as a tap.
std::vector<GridMark> gridMarks(const ItemList& notes, const FileGrid& grid, int columns,
                                std::int64_t gridRows) {
    std::vector<GridMark> marks;
    marks.reserve(notes.size());
    for (const EditItem& note : notes) {
        if (grid.inside(note.row()) || note.column < 0 || note.column >= columns)
            continue;
        const std::int64_t head = grid.fileRow(note.row());
        if (head < 0 || head >= gridRows)
            continue;
        // A mine or lift is one whatever length it carries.
        const NoteKind kind = note.isMineLike()
                                  ? (note.altKind == 1 ? NoteKind::Lift : NoteKind::Mine)
                                  : noteKindOf(note);
        if (kind == NoteKind::Hold || kind == NoteKind::Roll) {
            // The rows of a pause the hold spans are not in the file either.
            const std::int64_t tail = grid.fileRow(note.endRow());
            if (tail > head && tail < gridRows) {
                marks.push_back({head, note.column, smHeadCharacter(kind)});
                marks.push_back({tail, note.column, kSmTailCharacter});
            } else {
                marks.push_back({head, note.column, smHeadCharacter(NoteKind::Tap)});
            }
            continue;
        }
        marks.push_back({head, note.column, smHeadCharacter(kind)});
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const GridMark& a, const GridMark& b) { return a.row < b.row; });
    return marks;
}

// The first resolution whose rows hold every mark of the measure; 192 when none does.
int rowsForMeasure(const Song& song, const GridMark* first, const GridMark* last,
                   std::int64_t measureStart) {
    for (const MeasureResolution& resolution : song.measureResolutions()) {
        const bool fits = std::all_of(first, last, [&](const GridMark& m) {
            return resolution.pattern[static_cast<std::size_t>(m.row - measureStart)] == '1';
        });
        if (fits)
            return resolution.rowsPerMeasure;
    }
    return kRowsPerMeasure;
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

void appendChart(std::string& out, const SmWriteInput& in, LevelIndex level,
                 const std::vector<GridMark>& marks, std::int64_t measures) {
    const GameTypeInfo& type = gameTypeInfo(gameTypeOfLevel(level));
    const ChartTexts& texts = in.song.chartTexts()[static_cast<std::size_t>(level)];
    appendChartHeader(out, type.smName, texts.description,
                      difficultySmName(difficultyOfLevel(level)),
                      std::to_string(in.meters.get(level)));
    appendRadarValues(out, texts.radarValues);

    std::string row;
    const GridMark* mark = marks.data();
    const GridMark* end = marks.data() + marks.size();
    for (std::int64_t m = 0; m < measures; ++m) {
        const std::int64_t start = m * kRowsPerMeasure;
        const GridMark* measureEnd = mark;
        while (measureEnd != end && measureEnd->row < start + kRowsPerMeasure)
            ++measureEnd;
        const int step = kRowsPerMeasure / rowsForMeasure(in.song, mark, measureEnd, start);
        for (std::int64_t r = start; r < start + kRowsPerMeasure; r += step) {
            row.assign(type.emptyRow);
            for (; mark != measureEnd && mark->row == r; ++mark)
                row[static_cast<std::size_t>(mark->column)] = mark->character;
            appendLine(out, row);
        }
        mark = measureEnd;
        appendLine(out, m + 1 < measures ? "," : ";");
    }
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
    const PauseRemoval pauses(in.store.pauses(), in.store.timing());
    const std::int32_t leadBeats = beatsBeforeFirstMarker(in);
    const FileGrid grid(pauses, leadBeats);
    const SmTempoText tempo = tempoText(in, pauses, grid);

    appendHeader(out, in, tempo);
    appendLine(out, "#BPMS:" + tempo.bpms + ";");
    appendLine(out, "#STOPS:" + tempo.stops + ";");
    appendKeptTags(out, in.song);

    std::size_t keptMarkers = 0;
    for (const EditItem& beat : in.store.beats())
        if (!pauses.inside(beat.row()))
            ++keptMarkers;
    const std::int64_t measures =
        std::max<std::int64_t>(1, (static_cast<std::int64_t>(keptMarkers) + leadBeats + 3) / 4);
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const ItemList& notes = in.store.notes(level);
        const bool used = std::any_of(notes.begin(), notes.end(),
                                      [&](const EditItem& n) { return !pauses.inside(n.row()); });
        if (used)
            appendChart(
                out, in, level,
                gridMarks(notes, grid, columnCountOfLevel(level), measures * kRowsPerMeasure),
                measures);
    }
    for (const ForeignChart& chart : in.song.foreignCharts())
        appendForeignChart(out, chart);
    return out;
}

} // namespace quillex
