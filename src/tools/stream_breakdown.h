// The stream breakdown of a chart as chart authors write it: runs of stream measures
// and the breaks between them, such as "16 (4) 32 /8/ 16".
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillex {

// A measure is stream when it holds at least this many rows with a note to step on:
// a full measure of 16ths, or a faster one.
inline constexpr int kStreamRowsPerMeasure = 16;
// Breaks of up to this many measures are short, "(n)"; longer ones are "/n/".
inline constexpr int kShortBreakMeasures = 4;
// What a chart without a single stream measure shows.
inline constexpr char kNoStream[] = "-";

// The breakdown of the note rows counted in each measure, in order: each run of
// stream measures is its length, the measures between two runs a break; breaks before
// the first run and after the last are left out.
std::string streamBreakdown(std::span<const int> noteRowsPerMeasure);

} // namespace quillex
