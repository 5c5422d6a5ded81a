// What the input timer thread needs of the song to sound the assist ticks and to judge
// the current chart: the beat markers, the chart's note times and its rows with their
// judging windows. The main thread builds a new chart after every refresh and hands it
// over whole; the lists never change afterwards, so the timer thread reads them freely.
// Only the three play cursors change, and they are atomics.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/row_position.h"

namespace quillex {

class ItemStore;

// The judging windows, in seconds, before scaling.
struct JudgeWindowSeconds {
    double marvelous = 0.0225;
    double perfect = 0.045;
    double great = 0.090;
    double good = 0.135;
    double boo = 0.180;
    double freezeOk = 0.250;
    double mine = 0.090;
    double scale = 1.5;
};

// The windows in samples at a sample rate: truncate(rate × scale × window).
struct JudgeWindows {
    std::int32_t marvelous = 0, perfect = 0, great = 0, good = 0, boo = 0, freezeOk = 0, mine = 0;
};
JudgeWindows judgeWindowsAt(const JudgeWindowSeconds& seconds, int sampleRate);

inline constexpr int kJudgedColumns = 4;
inline constexpr int kRowColumns = 10;

// Per column of a row: '0' nothing to do, '1' tap, '2' hold or roll head, '3' hold
// tail, 'M' mine. Lifts are not judged and count as '0'.
struct JudgeRow {
    SamplePosition rowSample = 0;
    SamplePosition windowStart = 0;
    SamplePosition windowEnd = 0;
    // Boo window over the side actually used (1 when not clipped by a neighbour).
    double earlyFactor = 1;
    double lateFactor = 1;
    std::array<char, kRowColumns> notes{};

    // The taps and hold heads: the notes a row is graded on.
    int gradedNotes() const;
};

struct BeatMark {
    SamplePosition sample = 0;
    bool subBeat = false;
};

struct PlayAlongChart {
    std::uint64_t id = 0; // unique per build, so a reader tells two charts apart
    std::vector<BeatMark> beats;
    std::vector<SamplePosition> noteTimes;
    std::vector<JudgeRow> rows;
    JudgeWindows windows;

    // The next beat marker and note time to tick (out of range: none), and the
    // current row (-1: none). Set by the main thread on a reset, advanced by the
    // timer thread.
    mutable std::atomic<int> nextBeat{-1};
    mutable std::atomic<int> nextNote{-1};
    mutable std::atomic<int> currentRow{-1};
    // Counts the resets, so the judge starts its rows afresh after each.
    mutable std::atomic<int> resets{0};

    // Points the cursors at position p: the first marker and note time at or after
    // p, and the last row whose window has started (0 before the first).
    void reset(SamplePosition p) const;
};

// The chart of the store's current level and its beat markers, windows in samples.
std::shared_ptr<const PlayAlongChart> buildPlayAlongChart(const ItemStore& store,
                                                          const JudgeWindows& windows);

} // namespace quillex
