#include "audio/play_along_chart.h"

#include <algorithm>
#include <cmath>

#include "items/item_store.h"
#include "model/note_kind.h"

namespace quillex {

namespace {

std::int32_t samplesOf(double seconds, double scale, int sampleRate) {
    const double samples = static_cast<double>(sampleRate) * scale * seconds;
    return std::isfinite(samples) ? static_cast<std::int32_t>(std::clamp(samples, 0.0, 1e9)) : 0;
}

struct NoteMark {
    SamplePosition sample;
    int column;
    char note;
};

char judgedCharacter(NoteKind kind) {
    switch (kind) {
    case NoteKind::Tap:
        return '1';
    case NoteKind::Hold:
    case NoteKind::Roll:
        return '2';
    case NoteKind::Mine:
        return 'M';
    case NoteKind::Lift:
        return '0';
    }
    return '0';
}

std::vector<JudgeRow> judgeRows(const ItemStore& store, std::int32_t boo) {
    const ItemList& notes = store.notes(store.currentLevel());
    const TimingMap timing = store.timing();
    std::vector<NoteMark> marks;
    marks.reserve(notes.size());
    for (const EditItem& note : notes) {
        const char c = judgedCharacter(noteKindOf(note));
        // Notes inside a warp are not played, so they are not judged either.
        if (c == '0' || note.column < 0 || note.column >= kRowColumns ||
            timing.insideWarp(note.row()))
            continue;
        marks.push_back({note.sample, note.column, c});
        if (c == '2')
            marks.push_back(
                {timing.rowToSample(RowPosition::fromRow(note.endRow())), note.column, '3'});
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const NoteMark& a, const NoteMark& b) { return a.sample < b.sample; });

    std::vector<JudgeRow> rows;
    for (const NoteMark& mark : marks) {
        if (rows.empty() || rows.back().rowSample != mark.sample) {
            JudgeRow row;
            row.rowSample = mark.sample;
            row.notes.fill('0');
            rows.push_back(row);
        }
        char& slot = rows.back().notes[static_cast<std::size_t>(mark.column)];
        if (slot == '0')
            slot = mark.note;
    }
    // Each window reaches Boo to either side, but stops short of halfway to a
    // neighbouring row, so two rows never share a moment.
    for (std::size_t k = 0; k < rows.size(); ++k) {
        JudgeRow& row = rows[k];
        row.windowStart = row.rowSample - boo;
        row.windowEnd = row.rowSample + boo;
        if (k > 0) {
            const auto limit = static_cast<SamplePosition>(
                (std::int64_t{rows[k - 1].rowSample} + row.rowSample) / 2 + 1);
            if (row.windowStart < limit) {
                row.windowStart = limit;
                row.earlyFactor = static_cast<double>(boo) / std::max(1, row.rowSample - limit);
            }
        }
        if (k + 1 < rows.size()) {
            const auto limit = static_cast<SamplePosition>(
                (std::int64_t{row.rowSample} + rows[k + 1].rowSample) / 2 - 1);
            if (row.windowEnd > limit) {
                row.windowEnd = limit;
                row.lateFactor = static_cast<double>(boo) / std::max(1, limit - row.rowSample);
            }
        }
    }
    return rows;
}

} // namespace

JudgeWindows judgeWindowsAt(const JudgeWindowSeconds& s, int sampleRate) {
    return {samplesOf(s.marvelous, s.scale, sampleRate), samplesOf(s.perfect, s.scale, sampleRate),
            samplesOf(s.great, s.scale, sampleRate),     samplesOf(s.good, s.scale, sampleRate),
            samplesOf(s.boo, s.scale, sampleRate),       samplesOf(s.freezeOk, s.scale, sampleRate),
            samplesOf(s.mine, s.scale, sampleRate)};
}

int JudgeRow::gradedNotes() const {
    return static_cast<int>(
        std::count_if(notes.begin(), notes.end(), [](char c) { return c == '1' || c == '2'; }));
}

void PlayAlongChart::reset(SamplePosition p) const {
    const auto beat =
        std::lower_bound(beats.begin(), beats.end(), p,
                         [](const BeatMark& b, SamplePosition s) { return b.sample < s; });
    nextBeat = beat == beats.end() ? -1 : static_cast<int>(beat - beats.begin());
    const auto note = std::lower_bound(noteTimes.begin(), noteTimes.end(), p);
    nextNote = note == noteTimes.end() ? -1 : static_cast<int>(note - noteTimes.begin());
    if (rows.empty()) {
        currentRow = -1;
    } else {
        const auto after =
            std::upper_bound(rows.begin(), rows.end(), p,
                             [](SamplePosition s, const JudgeRow& r) { return s < r.windowStart; });
        currentRow = after == rows.begin() ? 0 : static_cast<int>(after - rows.begin()) - 1;
    }
    resets.fetch_add(1);
}

std::shared_ptr<const PlayAlongChart> buildPlayAlongChart(const ItemStore& store,
                                                          const JudgeWindows& windows) {
    static std::atomic<std::uint64_t> lastId{0};
    auto chart = std::make_shared<PlayAlongChart>();
    chart->id = ++lastId;
    chart->windows = windows;
    chart->beats.reserve(store.beats().size());
    for (const EditItem& b : store.beats())
        chart->beats.push_back({b.sample, b.isSubBeat});
    chart->noteTimes = store.noteTimes();
    chart->rows = judgeRows(store, windows.boo);
    return chart;
}

} // namespace quillex
