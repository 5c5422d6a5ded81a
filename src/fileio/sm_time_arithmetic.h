// How a `.sm` file's tempos and stops become sample positions: the reader computes
// marker positions with these, and the writer, which fits its values by simulating
// the reader, must compute them term for term the same way.
#pragma once

#include <cmath>
#include <cstdint>

#include "model/row_position.h"

namespace quillex {

// Samples per row (a 48th of a beat) at `bpm`.
inline double smSamplesPerRow(double bpm, int rate) {
    return rate * 60.0 / (bpm * kRowsPerBeat);
}

// The exact position `rows` rows after `sample` at `bpm`.
inline double smAdvance(double sample, std::int64_t rows, double bpm, int rate) {
    return sample + static_cast<double>(rows) * smSamplesPerRow(bpm, rate);
}

// The exact position at the end of a stop of `seconds` starting at `sample`.
inline double smAfterStop(double sample, double seconds, int rate) {
    return sample + seconds * rate;
}

// Marker times are rounded to the nearest sample, not truncated: a file written by
// this editor carries tempos of six significant digits, and truncating the times they
// give would move every beat a sample earlier on each save and reopen.
inline double nearestSample(double sample) {
    return std::floor(sample + 0.5);
}

} // namespace quillex
