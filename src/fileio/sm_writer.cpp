#include "fileio/sm_writer.h"

#include <algorithm>

#include "fileio/number_format.h"
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
    PauseRemoval(const ItemList& pauseList, const TimingMap& map, int sampleRate) {
        std::vector<EditItem> pauses(pauseList.begin(), pauseList.end());
        std::stable_sort(pauses.begin(), pauses.end(),
                         [](const EditItem& a, const EditItem& b) { return a.row() < b.row(); });
        std::int64_t total = 0;
        removedBefore_.push_back(0);
        for (const EditItem& p : pauses) {
            const SamplePosition begin = map.rowToSample(p.start());
            const SamplePosition end = map.rowToSample(p.start().plusRows(p.lengthRows()));
            starts_.push_back(p.row());
            lengths_.push_back(p.lengthRows());
            seconds_.push_back((static_cast<double>(end) - begin) / sampleRate);
            total += p.lengthRows();
            removedBefore_.push_back(total);
        }
    }

    std::size_t count() const { return starts_.size(); }
    double seconds(std::size_t i) const { return seconds_[i]; }
    std::int64_t shiftedPauseRow(std::size_t i) const { return shifted(starts_[i]); }

    // Strictly inside a pause: after its start and before its end.
    bool inside(std::int32_t row) const {
        const std::size_t before = pausesStartingBefore(row);
        return before > 0 &&
               row < static_cast<std::int64_t>(starts_[before - 1]) + lengths_[before - 1];
    }
    // The row with the rows of every pause that starts before it taken out.
    std::int64_t shifted(std::int32_t row) const {
        return row - removedBefore_[pausesStartingBefore(row)];
    }

  private:
    std::size_t pausesStartingBefore(std::int32_t row) const {
        return static_cast<std::size_t>(std::lower_bound(starts_.begin(), starts_.end(), row) -
                                        starts_.begin());
    }

    std::vector<std::int32_t> starts_;
    std::vector<std::int32_t> lengths_;
    std::vector<double> seconds_;
    std::vector<std::int64_t> removedBefore_;
};

double fileBeat(std::int64_t row) {
    return static_cast<double>(row - kRowsPerBeat) / kRowsPerBeat;
}

void appendHeader(std::string& out, const SmWriteInput& in) {
    for (const std::string& line : in.song.properties().headerLines(fileNameOf(in.musicPath)))
        appendLine(out, line);
    const double rate = in.sampleRate;
    out += "#OFFSET:";
    appendNumber(out, -in.store.beats()[0].sample / rate);
    out.append(";").append(kLineBreak);
    appendLine(out, "#SAMPLESTART:" + formatFixed3(in.previewStart / rate) + ";");
    appendLine(out, "#SAMPLELENGTH:" + formatFixed3(in.previewEnd / rate - in.previewStart / rate) +
                        ";");
}

void appendTempoLine(std::string& out, const SmWriteInput& in, const TimingMap& map,
                     const PauseRemoval& pauses) {
    const ItemList& beats = in.store.beats();
    out += "#BPMS:";
    if (!in.song.perBeatBpm()) {
        out += "0=";
        appendNumber(out, map.averageBpm(0, static_cast<int>(beats.size()) - 1));
        out.append(";").append(kLineBreak);
        return;
    }
    const std::size_t count = beats.size();
    bool first = true;
    double lastWritten = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (pauses.inside(beats[i].row()))
            continue;
        const double bpm = map.intervalBpm(i + 1 < count ? i : count - 2);
        if (!first && in.song.removeDuplicateBpms() && bpm == lastWritten)
            continue;
        if (!first)
            out += ',';
        appendNumber(out, fileBeat(pauses.shifted(beats[i].row())));
        out += '=';
        appendNumber(out, bpm);
        lastWritten = bpm;
        first = false;
    }
    out.append(";").append(kLineBreak);
}

void appendStopsLine(std::string& out, const PauseRemoval& pauses) {
    out += "#STOPS:";
    for (std::size_t i = 0; i < pauses.count(); ++i) {
        if (i > 0)
            out += ',';
        appendNumber(out, fileBeat(pauses.shiftedPauseRow(i)));
        out += '=';
        appendNumber(out, pauses.seconds(i));
    }
    out.append(";").append(kLineBreak);
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
std::vector<GridMark> gridMarks(const ItemList& notes, const PauseRemoval& pauses, int columns,
                                std::int64_t gridRows) {
    std::vector<GridMark> marks;
    marks.reserve(notes.size());
    for (const EditItem& note : notes) {
        if (pauses.inside(note.row()) || note.column < 0 || note.column >= columns)
            continue;
        const std::int64_t head = pauses.shifted(note.row()) - kRowsPerBeat;
        if (head < 0 || head >= gridRows)
            continue;
        const NoteKind kind = noteKindOf(note);
        if (kind == NoteKind::Hold || kind == NoteKind::Roll) {
            const std::int64_t tail = head + note.lengthRows();
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

void appendChart(std::string& out, const SmWriteInput& in, LevelIndex level,
                 const std::vector<GridMark>& marks, std::int64_t measures) {
    const GameTypeInfo& type = gameTypeInfo(gameTypeOfLevel(level));
    appendChartHeader(out, type.smName, "", difficultySmName(difficultyOfLevel(level)),
                      std::to_string(in.meters.get(level)));
    out.append(kIndent).append("0.000,0.000,0.000,0.000,0.000:").append(kLineBreak);

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
    out.append(kIndent);
    // Every radar value read is written back; a chart read with fewer than five gets
    // zeros for the missing ones.
    const std::size_t radarCount = std::max<std::size_t>(chart.radarValues.size(), 5);
    for (std::size_t i = 0; i < radarCount; ++i) {
        if (i > 0)
            out += ',';
        out += i < chart.radarValues.size() ? chart.radarValues[i] : std::string("0.000");
    }
    out.append(":").append(kLineBreak);
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
    const TimingMap map = in.store.timing();
    const PauseRemoval pauses(in.store.pauses(), map, in.sampleRate);

    appendHeader(out, in);
    appendTempoLine(out, in, map, pauses);
    appendStopsLine(out, pauses);
    appendKeptTags(out, in.song);

    std::size_t keptMarkers = 0;
    for (const EditItem& beat : in.store.beats())
        if (!pauses.inside(beat.row()))
            ++keptMarkers;
    const std::int64_t measures = std::max<std::int64_t>(1, (keptMarkers + 3) / 4);
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const ItemList& notes = in.store.notes(level);
        const bool used = std::any_of(notes.begin(), notes.end(),
                                      [&](const EditItem& n) { return !pauses.inside(n.row()); });
        if (used)
            appendChart(
                out, in, level,
                gridMarks(notes, pauses, columnCountOfLevel(level), measures * kRowsPerMeasure),
                measures);
    }
    for (const ForeignChart& chart : in.song.foreignCharts())
        appendForeignChart(out, chart);
    return out;
}

} // namespace quillex
