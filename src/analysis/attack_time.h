// Where a sound starts, to the sample. The onset-strength curve only says which short
// window a sound started in; the attack is the point that best splits a stretch of the
// waveform into a quieter part before and a louder part after (the change point of the
// two parts' variances, an Akaike information criterion pick). Lossy codecs smear a
// little noise ahead of a sharp attack (pre-echo, some 20 to 30 dB down), which such a
// pick takes for the start; so the pick is followed forward to where the waveform first
// rises a quarter of the way from the level before it to the attack's peak, and back
// from there to the zero crossing that begins that rise.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quillex {

// The sample in [searchFrom, searchTo) where the sound of `signal` within
// [dataFrom, dataTo) changes most from quiet to loud; nothing when the stretch holds
// no such change (silence, or louder before than after).
std::optional<std::ptrdiff_t> attackSample(const std::vector<float>& signal,
                                           std::ptrdiff_t dataFrom, std::ptrdiff_t dataTo,
                                           std::ptrdiff_t searchFrom, std::ptrdiff_t searchTo,
                                           int sampleRate);

} // namespace quillex
