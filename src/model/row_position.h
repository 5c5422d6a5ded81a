// Musical and sample positions: the two coordinates every part of the editor speaks.
#pragma once

#include <compare>
#include <cstdint>

namespace quillex {

// A count of PCM sample frames from the start of the decoded music.
// Seconds are sample / sampleRate.
using SamplePosition = std::int32_t;

inline constexpr int kRowsPerBeat = 48;

// A musical position: whole beats and 48ths of a beat. Beat 1 is the first regular
// beat marker of the song (row 48); rows 0..47 lie before it.
struct RowPosition {
    std::int32_t beat = 0;
    std::int32_t fraction = 0;

    constexpr std::int32_t row() const { return beat * kRowsPerBeat + fraction; }

    // Negative row counts clamp to (0, 0): nothing lies before the start of the grid.
    static constexpr RowPosition fromRow(std::int64_t row) {
        if (row < 0)
            return {0, 0};
        return {static_cast<std::int32_t>(row / kRowsPerBeat),
                static_cast<std::int32_t>(row % kRowsPerBeat)};
    }

    constexpr RowPosition plusRows(std::int64_t rows) const { return fromRow(row() + rows); }

    friend constexpr bool operator==(RowPosition a, RowPosition b) { return a.row() == b.row(); }
    friend constexpr auto operator<=>(RowPosition a, RowPosition b) { return a.row() <=> b.row(); }
};

// The beat number a `.sm` file uses for a row: beat 1 of the editor is `.sm` beat 0.
constexpr double smBeat(std::int32_t row) {
    return static_cast<double>(row - kRowsPerBeat) / kRowsPerBeat;
}

} // namespace quillex
