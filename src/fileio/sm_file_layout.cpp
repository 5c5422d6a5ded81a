#include "fileio/sm_file_layout.h"

#include <algorithm>
#include <limits>

#include "base/number_format.h"
#include "fileio/kept_chart_conversion.h"
#include "fileio/song_paths.h"
#include "items/stretch_rows.h"
#include "model/note_kind.h"

namespace quillex {

// Where the song's rows lie in the file: the pause and delay rows taken out (what lies
// inside one is not written, and what lies after it moves up by its length, so that the
// file's beats run on as a game expects around a stop or delay), and beat
// marker 1 (row 48) after the whole beats the file has before it, so that notes before
// marker 1 keep a place and every measure keeps its number. Warp rows stay in the file;
// the tempo fit counts rows without them ("timed" rows), as they take no time.
class FileGrid {
  public:
    FileGrid(const StretchRows& stretches, const ItemList& warps,
             std::int32_t beatsBeforeFirstMarker)
        : stretches_(stretches),
          shift_(static_cast<std::int64_t>(beatsBeforeFirstMarker - 1) * kRowsPerBeat) {
        for (const EditItem& warp : warps) {
            const std::int64_t start = fileRow(warp.row());
            const std::int64_t end = fileRow(warp.endRow());
            if (end > start)
                warps_.push_back({start, end - start});
        }
    }
    bool inside(std::int32_t row) const { return stretches_.inside(row); }
    // The file row (48 per beat, row 0 on the file's beat 0) of a row of the song.
    std::int64_t fileRow(std::int32_t row) const {
        return stretches_.withoutStretches(row) + shift_;
    }
    // A file row less the warp rows before it.
    std::int64_t timedRow(std::int64_t fileRow) const {
        std::int64_t timed = fileRow;
        for (const SmWarpSpan& warp : warps_)
            timed -= std::clamp<std::int64_t>(fileRow - warp.timedRow, 0, warp.length);
        return timed;
    }
    // The warps with their file start rows.
    const std::vector<SmWarpSpan>& fileWarps() const { return warps_; }

  private:
    const StretchRows& stretches_;
    std::int64_t shift_;
    std::vector<SmWarpSpan> warps_; // here `timedRow` holds the file row of the start
};

namespace {

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
std::vector<SmTimingPoint> timingPoints(const TimingMap& map, const StretchRows& pauses,
                                        const FileGrid& grid) {
    const ItemList& beats = map.beats();
    std::vector<SmTimingPoint> points;
    points.reserve(beats.size() + pauses.count());
    std::size_t pause = 0;
    const auto addPausesUpTo = [&](std::int64_t row) {
        for (; pause < pauses.count() && pauses.startRow(pause) < row; ++pause) {
            const RowPosition start = RowPosition::fromRow(pauses.startRow(pause));
            const RowPosition end = start.plusRows(pauses.lengthRows(pause));
            points.push_back(
                {SmTimingPoint::Kind::Pause, grid.timedRow(grid.fileRow(pauses.startRow(pause))),
                 static_cast<double>(map.rowToSample(end)),
                 static_cast<double>(map.rowToSample(start)), false, pauses.isDelay(pause)});
        }
    };
    for (const EditItem& beat : beats) {
        if (grid.inside(beat.row()))
            continue;
        addPausesUpTo(beat.row());
        points.push_back({SmTimingPoint::Kind::Marker, grid.timedRow(grid.fileRow(beat.row())),
                          static_cast<double>(beat.sample), 0, beat.isSubBeat});
    }
    addPausesUpTo(std::numeric_limits<std::int64_t>::max());
    return points;
}

SmTempoText tempoText(const SmWriteInput& in, const StretchRows& pauses, const FileGrid& grid) {
    const TimingMap map = in.store.timing();
    SmTempoFitInput fit;
    fit.sampleRate = in.sampleRate;
    fit.points = timingPoints(map, pauses, grid);
    fit.perBeatBpm = in.song.perBeatBpm();
    fit.removeDuplicateBpms = in.song.removeDuplicateBpms();
    fit.averageBpm = map.averageBpm(0, static_cast<int>(map.markerCount()) - 1);
    std::string warps;
    for (const SmWarpSpan& warp : grid.fileWarps()) {
        fit.warps.push_back({grid.timedRow(warp.timedRow), warp.length});
        if (!warps.empty())
            warps += ',';
        appendNumber(warps, static_cast<double>(warp.timedRow) / kRowsPerBeat);
        warps += '=';
        appendNumber(warps, static_cast<double>(warp.length) / kRowsPerBeat);
    }
    SmTempoText text = fitSmTempo(fit);
    text.warps = std::move(warps);
    return text;
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

} // namespace

std::vector<std::string> songHeaderLines(const SmWriteInput& in) {
    const SongProperties& properties = in.song.properties();
    return in.names
               ? properties.headerLines(in.names->music, in.names->banner, in.names->background)
               : properties.headerLines(fileNameOf(in.musicPath));
}

void appendStatement(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append(":").append(value).append(";").append(kFileLineBreak);
}

void appendKeptSongStatements(std::string& out, const Song& song) {
    for (const KeptStatement& s : song.kept().songStatements)
        appendStatement(out, s.key, s.value);
}

SongFileLayout::SongFileLayout(const SmWriteInput& in, bool withWarps)
    : in_(in), pauses_(std::make_unique<StretchRows>(in.store.pauses(), in.store.delays())) {
    const std::int32_t leadBeats = beatsBeforeFirstMarker(in);
    grid_ =
        std::make_unique<FileGrid>(*pauses_, withWarps ? in.store.warps() : ItemList(), leadBeats);
    tempo_ = tempoText(in, *pauses_, *grid_);
    // The measures reach the last marker and the end of every note (a hold's tail
    // may lie past the last marker). Rows are counted, not markers: a warp's rows hold
    // no marker but are in the file.
    std::int64_t lastRow = 0;
    if (!in.store.beats().empty())
        lastRow = grid_->fileRow(in.store.beats().back().row());
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        for (const EditItem& note : in.store.notes(level))
            if (!grid_->inside(note.row()))
                lastRow = std::max(lastRow, grid_->fileRow(note.endRow()));
    measures_ = std::max<std::int64_t>(1, lastRow / kRowsPerMeasure + 1);
}

SongFileLayout::~SongFileLayout() = default;

bool SongFileLayout::holdsNotes(LevelIndex level) const {
    const ItemList& notes = in_.store.notes(level);
    return std::any_of(notes.begin(), notes.end(),
                       [&](const EditItem& n) { return !pauses_->inside(n.row()); });
}

void SongFileLayout::appendMeasures(std::string& out, LevelIndex level) const {
    const GameTypeInfo& type = gameTypeInfo(gameTypeOfLevel(level));
    const std::vector<GridMark> marks = gridMarks(
        in_.store.notes(level), *grid_, columnCountOfLevel(level), measures_ * kRowsPerMeasure);
    std::string row;
    const GridMark* mark = marks.data();
    const GridMark* end = marks.data() + marks.size();
    for (std::int64_t m = 0; m < measures_; ++m) {
        const std::int64_t start = m * kRowsPerMeasure;
        const GridMark* measureEnd = mark;
        while (measureEnd != end && measureEnd->row < start + kRowsPerMeasure)
            ++measureEnd;
        const int step = kRowsPerMeasure / rowsForMeasure(in_.song, mark, measureEnd, start);
        for (std::int64_t r = start; r < start + kRowsPerMeasure; r += step) {
            row.assign(type.emptyRow);
            for (; mark != measureEnd && mark->row == r; ++mark)
                row[static_cast<std::size_t>(mark->column)] = mark->character;
            appendFileLine(out, row);
        }
        mark = measureEnd;
        appendFileLine(out, m + 1 < measures_ ? "," : ";");
    }
}

std::vector<ChartSlot> SongFileLayout::charts() const {
    const KeptSongData& kept = in_.song.kept();
    std::vector<ChartSlot> slots;
    std::array<bool, kLevelCount> placed{};
    const auto placeLevel = [&](LevelIndex level) {
        if (holdsNotes(level) && !placed[static_cast<std::size_t>(level)])
            slots.push_back({false, level});
        placed[static_cast<std::size_t>(level)] = true;
    };
    for (const ChartSlot& slot : kept.chartOrder) {
        if (!slot.kept) {
            placeLevel(slot.index);
            continue;
        }
        const KeptChart& chart = kept.charts[static_cast<std::size_t>(slot.index)];
        if (writtenAsRead(chart, in_.store))
            slots.push_back(slot);
        else
            placeLevel(*chart.level); // moved onto its level
    }
    for (LevelIndex level = 0; level < kLevelCount; ++level)
        placeLevel(level);
    return slots;
}

} // namespace quillex
