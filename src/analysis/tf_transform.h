// Fills a spectrogram pyramid from the music: the short-time transforms of the finest
// level (FFTW, single precision) split between worker threads, then the coarser levels.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "analysis/tf_pyramid.h"

namespace quillex {

// Told how many of `total` columns are done; false stops the build.
using TfProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The spectrogram of `mono` (full scale 1) at `sampleRate`, computed on `threads`
// threads (the calling one among them); null when `progress` stopped it.
std::shared_ptr<TfPyramid> buildTfPyramid(const std::vector<float>& mono, int sampleRate,
                                          const TfProgress& progress, int threads = 2);

} // namespace quillex
