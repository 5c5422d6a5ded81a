// The real audio edge: libsndfile decoders and an OpenAL Soft output, or the silent
// clock with a notice when no device can be opened.
#pragma once

#include "audio/audio_backend.h"

namespace quillex {

AudioBackend makePlatformAudio();

} // namespace quillex
