// Turns a decoder's output into the two things the editor keeps of a music: the 16-bit
// frames the output plays and the waveform's peak pyramid, both in one pass.
#pragma once

#include "audio/audio_backend.h"
#include "audio/peak_pyramid.h"

namespace quillex {

// The longest music the editor takes: positions are 32-bit sample counts.
inline constexpr std::int64_t kMaxMusicFrames = 0x7fffffff;

// Reads everything `decoder` (opened with `format`, one or two channels) delivers into
// `pcm`, and into `peaks` when given (which then read their finest levels from `pcm`).
// False when the decoder fails or reports the data incomplete, when nothing was
// decoded, or when the music is too long; `pcm` and `peaks` then hold whatever was
// read so far.
bool decodeAll(MusicDecoder& decoder, const MusicFormat& format,
               const std::shared_ptr<PcmData>& pcm, PeakPyramid* peaks);

} // namespace quillex
