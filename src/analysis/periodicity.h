// How regularly the onset strength repeats: its autocorrelation, and the beat periods
// (in samples) at which it repeats best, each scored with its multiples so that a
// period the music keeps over whole bars beats one it keeps only now and then.
#pragma once

#include <vector>

#include "analysis/onset_features.h"

namespace quillex {

inline constexpr double kSlowestBpm = 60;
inline constexpr double kFastestBpm = 300;

// Up to `count` periods, best first, each within [kSlowestBpm, kFastestBpm].
std::vector<double> periodicPeaks(const OnsetFeatures& features, std::size_t count);

// The autocorrelation of `curve` (less its mean) for lags 0..maxLag, each divided by
// the number of products it sums.
std::vector<double> autocorrelation(const std::vector<float>& curve, std::size_t from,
                                    std::size_t to, std::size_t maxLag);

} // namespace quillex
