#include "fileio/sm_timing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>

#include "fileio/statement_text.h"

namespace quillex {

namespace {

enum class EventKind { Tempo = 1, Stop = 3, Note = 5 };

// A working record of the conversion. Rows are 64-bit so that no sum of absurd stop
// lengths can overflow; they are clamped to a range far beyond any real song.
struct Event {
    double beat = 0;
    std::int64_t row = 0;
    EventKind kind = EventKind::Note;
    std::int64_t stopRows = 0; // a stop's length in rows; a note's hold length
    bool nearStop = false;
    LevelIndex level = 0;
    double stopSeconds = 0;
    double bpm = 0;
    char noteChar = 0;
    std::int32_t column = 0;
    double sample = 0; // truncated sample of a timing event, once reached
};

constexpr std::int64_t kRowLimit = std::int64_t{1} << 40;

std::int64_t clampRow(double rows) {
    if (!(rows == rows))
        return 0;
    return static_cast<std::int64_t>(
        std::clamp(rows, static_cast<double>(-kRowLimit), static_cast<double>(kRowLimit)));
}

std::int64_t rowOfBeat(double beat) {
    return clampRow(std::floor(beat * kRowsPerBeat + 0.5));
}

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

bool isNoteCharacter(char c) {
    return c == '1' || c == '2' || c == '4' || c == 'M' || c == 'L';
}

// Expands the measures of one level into rows (a measure of R rows fills 192 rows when
// R divides 192) and adds a note event for every note character. A hold or roll head
// is as long as the distance to the next "3" of its column, or to one row past the
// chart's last row when no tail follows.
void addNoteEvents(const SmLevelData& data, LevelIndex level, std::vector<Event>& events) {
    const int columns = columnCountOfLevel(level);
    std::array<std::vector<std::size_t>, kMaxColumns> openHolds;
    std::int64_t measureStart = 0;
    for (const std::string& measure : data.measures) {
        const std::size_t length = measure.size();
        const std::size_t rowCount = length / static_cast<std::size_t>(columns);
        if (rowCount == 0)
            continue;
        const std::size_t width = length / rowCount;
        const std::int64_t spacing = rowCount > 96 ? 1 : static_cast<std::int64_t>(192 / rowCount);
        for (std::size_t i = 0; i < rowCount; ++i) {
            const std::int64_t n = measureStart + static_cast<std::int64_t>(i) * spacing;
            const char* text = measure.data() + i * width;
            for (int j = 0; j < columns; ++j) {
                const char ch = text[j];
                if (ch == '3') {
                    for (std::size_t head : openHolds[j])
                        events[head].stopRows = n - events[head].row;
                    openHolds[j].clear();
                    continue;
                }
                if (!isNoteCharacter(ch))
                    continue;
                Event e;
                e.kind = EventKind::Note;
                e.row = n;
                e.beat = static_cast<double>(n) / kRowsPerBeat;
                e.noteChar = ch;
                e.column = j;
                e.level = level;
                if (ch == '2' || ch == '4')
                    openHolds[j].push_back(events.size());
                events.push_back(e);
            }
        }
        measureStart += static_cast<std::int64_t>(rowCount) * spacing;
    }
    for (auto& heads : openHolds)
        for (std::size_t head : heads)
            events[head].stopRows = measureStart - events[head].row;
}

// A stretch of the event list created in beat order (a chart's notes) or not (the
// stops and tempo changes as the file lists them).
struct EventRun {
    std::size_t begin, end;
};

// Sorts by beat, keeping the creation order of equal beats. The notes of each chart
// already come in beat order, so the runs are merged rather than the whole list
// sorted: the stops and tempo changes are sorted on their own, then the smallest head
// of all runs is taken until they are empty (ties go to the earlier run).
std::vector<Event> mergeByBeat(std::vector<Event>& events, std::vector<EventRun> runs) {
    const auto byBeat = [](const Event& a, const Event& b) { return a.beat < b.beat; };
    for (const EventRun& run : runs)
        if (!std::is_sorted(events.begin() + run.begin, events.begin() + run.end, byBeat))
            std::stable_sort(events.begin() + run.begin, events.begin() + run.end, byBeat);
    using Head = std::pair<double, std::size_t>; // beat, run index
    std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
    for (std::size_t r = 0; r < runs.size(); ++r)
        if (runs[r].begin < runs[r].end)
            heads.push({events[runs[r].begin].beat, r});
    std::vector<Event> sorted;
    sorted.reserve(events.size());
    while (!heads.empty()) {
        const std::size_t r = heads.top().second;
        heads.pop();
        sorted.push_back(events[runs[r].begin++]);
        if (runs[r].begin < runs[r].end)
            heads.push({events[runs[r].begin].beat, r});
    }
    return sorted;
}

std::size_t characterCount(const SmTimingInput& input) {
    std::size_t count = 0;
    for (const SmLevelData& level : input.levels)
        for (const std::string& measure : level.measures)
            count += measure.size();
    return count;
}

// A stop (its value in seconds) or a tempo change (its value in BPM) of the file.
Event timingEvent(EventKind kind, const SmTimedValue& timed) {
    Event e;
    e.kind = kind;
    e.beat = timed.beat;
    e.row = rowOfBeat(timed.beat);
    if (kind == EventKind::Stop)
        e.stopSeconds = timed.value;
    else
        e.bpm = timed.value;
    return e;
}

std::vector<Event> buildEvents(const SmTimingInput& input) {
    std::vector<Event> events;
    // Rows are mostly empty: a quarter of the characters is a generous first guess.
    events.reserve(input.stops.size() + input.bpms.size() + characterCount(input) / 4);
    std::vector<EventRun> runs;
    for (const SmTimedValue& stop : input.stops)
        events.push_back(timingEvent(EventKind::Stop, stop));
    runs.push_back({0, events.size()});
    for (LevelIndex level = 0; level < kLevelCount; ++level) {
        const std::size_t begin = events.size();
        addNoteEvents(input.levels[level], level, events);
        runs.push_back({begin, events.size()});
    }
    const std::size_t tempoBegin = events.size();
    for (const SmTimedValue& tempo : input.bpms)
        events.push_back(timingEvent(EventKind::Tempo, tempo));
    runs.push_back({tempoBegin, events.size()});
    return mergeByBeat(events, std::move(runs));
}

// Events a hair after a stop (0.001 to 0.02 beats) are "near" it; of a run of such
// events only the last is kept. The list is sorted by beat, so the stops that make an
// event near form a window that only moves forward.
void dropCrowdedNearStopEvents(std::vector<Event>& events) {
    std::vector<double> stopBeats;
    for (const Event& e : events)
        if (e.kind == EventKind::Stop)
            stopBeats.push_back(e.beat);
    if (stopBeats.empty())
        return;
    std::size_t tooFar = 0; // stops at least 0.02 beats before the event
    std::size_t before = 0; // stops more than 0.001 beats before the event
    for (Event& e : events) {
        while (before < stopBeats.size() && e.beat - stopBeats[before] > 0.001)
            ++before;
        while (tooFar < before && e.beat - stopBeats[tooFar] >= 0.02)
            ++tooFar;
        e.nearStop = tooFar < before;
    }
    const auto nearStop = [](const Event& e) { return e.nearStop; };
    if (std::none_of(events.begin(), events.end(), nearStop))
        return;
    std::vector<Event> kept;
    kept.reserve(events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        if (!(events[i].nearStop && i + 1 < events.size() && events[i + 1].nearStop))
            kept.push_back(events[i]);
    events = std::move(kept);
}

// Each stop runs at the tempo of the nearest tempo event before its beat; its length
// in rows follows from that tempo.
void measureStops(std::vector<Event>& events) {
    std::ptrdiff_t lastTempo = -1;
    std::ptrdiff_t tempoBeforeGroup = -1;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (i == 0 || events[i].beat != events[i - 1].beat)
            tempoBeforeGroup = lastTempo;
        Event& e = events[i];
        if (e.kind == EventKind::Stop && tempoBeforeGroup >= 0) {
            e.bpm = events[tempoBeforeGroup].bpm;
            e.stopRows = clampRow(std::floor(e.stopSeconds / 60 * e.bpm * kRowsPerBeat + 0.5));
        }
        if (e.kind == EventKind::Tempo)
            lastTempo = static_cast<std::ptrdiff_t>(i);
    }
}

// Every note after a stop's beat moves later by the stop's rows: the pause is made
// room for in the chart.
void makeRoomForStops(std::vector<Event>& events) {
    const std::size_t count = events.size();
    // groupEnd[i]: first index whose beat differs from event i's; firstNote[i]: first
    // note event at or after i.
    std::vector<std::size_t> groupEnd(count), firstNote(count + 1, count);
    for (std::size_t i = count; i-- > 0;) {
        groupEnd[i] =
            (i + 1 < count && events[i + 1].beat == events[i].beat) ? groupEnd[i + 1] : i + 1;
        firstNote[i] = events[i].kind == EventKind::Note ? i : firstNote[i + 1];
    }
    std::vector<std::int64_t> added(count + 1, 0);
    for (std::size_t i = 0; i < count; ++i)
        if (events[i].kind == EventKind::Stop)
            added[firstNote[groupEnd[i]]] += events[i].stopRows;
    std::int64_t shift = 0;
    for (std::size_t i = 0; i < count; ++i) {
        shift = clampRow(static_cast<double>(shift + added[i]));
        if (events[i].kind == EventKind::Note)
            events[i].row = clampRow(static_cast<double>(events[i].row + shift));
    }
}

// Stops and tempo changes in beat order, each moved later by the stops before it,
// ending on a whole beat and with at most one event per row.
std::vector<Event> buildTimingList(std::vector<Event>& events) {
    for (Event& e : events)
        if (e.nearStop)
            e.beat -= 0.003;
    std::vector<Event> timing;
    for (const Event& e : events)
        if (e.kind == EventKind::Stop)
            timing.push_back(e);
    for (const Event& e : events)
        if (e.kind == EventKind::Tempo)
            timing.push_back(e);
    std::stable_sort(timing.begin(), timing.end(),
                     [](const Event& a, const Event& b) { return a.beat < b.beat; });
    std::int64_t shift = 0;
    for (Event& e : timing) {
        e.row = clampRow(static_cast<double>(e.row + shift));
        if (e.kind == EventKind::Stop)
            shift = clampRow(static_cast<double>(shift + e.stopRows));
    }
    if (!timing.empty() && timing.back().row % kRowsPerBeat != 0) {
        Event closing = timing.back();
        closing.kind = EventKind::Tempo;
        closing.row = closing.row - closing.row % kRowsPerBeat + kRowsPerBeat;
        closing.stopRows = 0;
        timing.push_back(closing);
    }
    // Of two events on one row, a tempo change gives way; otherwise the first stays.
    std::vector<Event> unique;
    unique.reserve(timing.size());
    for (const Event& e : timing) {
        if (!unique.empty() && unique.back().row == e.row) {
            if (unique.back().kind == EventKind::Tempo)
                unique.back() = e;
            continue;
        }
        unique.push_back(e);
    }
    return unique;
}

// Marker times are rounded to the nearest sample, not truncated: a file written by
// this editor carries tempos of six significant digits, and truncating the times they
// give would move every beat a sample earlier on each save and reopen.
double nearestSample(double sample) {
    return std::floor(sample + 0.5);
}

// Walks the rows from row 0, placing a beat marker on every whole beat and a sub-beat
// on every timing event between beats, until the music ends. Rows whose sample lies
// before the music are skipped; `shift` counts them so that pauses and notes move
// with the beats.
std::int64_t placeMarkers(std::vector<Event>& timing, double startSample, int rate,
                          SamplePosition musicLength, ConvertedTiming& out) {
    // Bounds against absurd tempos, which would otherwise place markers for ever or
    // by the million: no more markers than samples, and no more rows visited than a
    // million beats (over 16 hours at 1000 BPM) beside the timing events themselves.
    const std::size_t maxMarkers = static_cast<std::size_t>(std::max(musicLength, 0)) + 2;
    const std::int64_t maxSteps = 1'000'000 + 4 * static_cast<std::int64_t>(timing.size());

    const std::size_t last = timing.size() - 1;
    std::int64_t r = 0;
    std::int64_t shift = 0;
    std::size_t k = 0;
    double sample = 0;
    for (std::int64_t step = 0; step < maxSteps; ++step) {
        while (k < last && timing[k + 1].row <= r)
            ++k;
        bool hit = false;
        if (timing[k].row == r) {
            if (k == 0)
                sample = startSample + rate * (60 / timing[0].bpm) * (r / 48.0);
            else
                sample = timing[k - 1].sample +
                         rate * ((r - timing[k - 1].row) / 48.0) * (60 / timing[k - 1].bpm);
            timing[k].sample = nearestSample(sample);
            hit = true;
        } else {
            sample = timing[k].sample + rate * ((r - timing[k].row) / 48.0) * (60 / timing[k].bpm);
        }

        if (sample >= 0) {
            out.beats.push_back({truncToInt32(nearestSample(sample)),
                                 clampToInt32(r - shift + kRowsPerBeat),
                                 static_cast<std::int32_t>(r % kRowsPerBeat)});
            if (hit && timing[k].kind == EventKind::Stop)
                out.pauses.push_back({clampToInt32(timing[k].row - shift + kRowsPerBeat),
                                      clampToInt32(timing[k].stopRows)});
        }

        std::int64_t next;
        const std::int64_t nextWholeBeat = r - r % kRowsPerBeat + kRowsPerBeat;
        if (k == last)
            next = r + kRowsPerBeat;
        else if (r % kRowsPerBeat == 0)
            next = timing[k + 1].row <= r + kRowsPerBeat ? timing[k + 1].row : r + kRowsPerBeat;
        else
            next = std::min(nextWholeBeat, timing[k + 1].row);
        if (next <= r)
            next = nextWholeBeat; // rows out of order after negative stops
        if (sample < 0)
            shift += next - r;
        r = next;

        if (!(sample < musicLength) || out.beats.size() > maxMarkers || r > kRowLimit)
            break;
        // Past the last event the tempo no longer changes: a tempo that does not move
        // forward in time never reaches the end of the music.
        if (k == last && !(60 / timing[k].bpm > 0))
            break;
    }
    return shift;
}

} // namespace

ConvertedTiming convertSmTiming(const SmTimingInput& input, int sampleRate,
                                SamplePosition musicLength) {
    ConvertedTiming out;
    if (input.bpms.empty())
        return out;
    std::vector<Event> events = buildEvents(input);
    dropCrowdedNearStopEvents(events);
    measureStops(events);
    makeRoomForStops(events);
    std::vector<Event> timing = buildTimingList(events);
    if (timing.empty())
        return out;

    const double startSample = -input.offsetSeconds * sampleRate;
    const std::int64_t shift = placeMarkers(timing, startSample, sampleRate, musicLength, out);

    for (const Event& e : events) {
        if (e.kind != EventKind::Note)
            continue;
        const bool hasLength = e.noteChar == '2' || e.noteChar == '4';
        out.notes.push_back({e.level, e.column, clampToInt32(e.row - shift + kRowsPerBeat),
                             hasLength ? clampToInt32(e.stopRows) : 0, e.noteChar});
    }
    return out;
}

} // namespace quillex
