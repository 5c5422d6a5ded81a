// Where a rhythm game plays a `.sm` file's rows: an independent model of the game's
// timeline, used to check the reader and the writer against it. Every beat of #BPMS,
// #STOPS and the notes is first rounded to the nearest 48th of a beat; a row's time is
// the sum of the tempo segments before it plus every stop on an earlier row (a note on
// a stop's own row sounds when the stop begins).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace quillex::test {

struct GameTimeline {
    struct Change {
        double beat;
        double value; // BPM for a tempo, seconds for a stop
    };
    double offsetSeconds = 0;
    std::vector<Change> bpms;
    std::vector<Change> stops;

    static std::int64_t rowOf(double beat) { return std::llround(beat * 48); }

    // Seconds from the music's first sample to the given `.sm` beat.
    double secondsAt(double beat) const {
        const std::int64_t row = rowOf(beat);
        std::vector<std::pair<std::int64_t, double>> tempos;
        for (const Change& c : bpms)
            tempos.emplace_back(rowOf(c.beat), c.value);
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        double seconds = -offsetSeconds;
        std::int64_t done = 0; // rows already timed
        for (std::size_t i = 0; i < tempos.size() && done < row; ++i) {
            if (i + 1 < tempos.size() && tempos[i + 1].first <= done)
                continue; // a later tempo on a row already passed replaces this one
            const std::int64_t until = i + 1 < tempos.size() ? std::min(tempos[i + 1].first, row) : row;
            if (until > done) {
                seconds += (until - done) / 48.0 * 60.0 / tempos[i].second;
                done = until;
            }
        }
        for (const Change& s : stops)
            if (rowOf(s.beat) < row)
                seconds += s.value;
        return seconds;
    }
    double sampleAt(double beat, int rate) const { return secondsAt(beat) * rate; }
};

// A note of a chart as the game reads it: its `.sm` beat and column. Line i of a
// measure of R lines lies 4 × i / R beats into it, whatever R is.
struct NoteBeat {
    double beat;
    int column;
};

// The notes (taps, hold and roll heads, mines, lifts) of a chart's measures, in file order.
inline std::vector<NoteBeat> noteBeatsOf(const std::vector<std::string>& measures, int columns) {
    std::vector<NoteBeat> out;
    for (std::size_t m = 0; m < measures.size(); ++m) {
        const std::string& text = measures[m];
        const std::size_t lines = text.size() / static_cast<std::size_t>(columns);
        for (std::size_t i = 0; i < lines; ++i)
            for (int c = 0; c < columns; ++c) {
                const char ch = text[i * (text.size() / lines) + static_cast<std::size_t>(c)];
                if (ch == '1' || ch == '2' || ch == '4' || ch == 'M' || ch == 'L')
                    out.push_back({4.0 * static_cast<double>(m) + 4.0 * static_cast<double>(i) / static_cast<double>(lines), c});
            }
    }
    return out;
}

} // namespace quillex::test
