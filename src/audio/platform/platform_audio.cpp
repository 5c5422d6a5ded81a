#include "audio/platform/platform_audio.h"

#include "audio/platform/openal_output.h"
#include "audio/platform/sndfile_decoder.h"
#include "audio/silent_output.h"

namespace quillex {

AudioBackend makePlatformAudio() {
    AudioBackend backend;
    backend.makeDecoder = [] { return std::make_unique<SndfileDecoder>(); };
    backend.output = OpenAlOutput::open();
    if (!backend.output) {
        backend.output = std::make_unique<SilentOutput>();
        backend.deviceNotice = "No audio device could be opened: the music plays silently.";
    }
    return backend;
}

} // namespace quillex
