#include "audio/music_format.h"

namespace quillex {

std::optional<std::string> formatRefusal(const MusicFormat& f) {
    // A bit depth of 0 would pass "a multiple of 8 up to 32" but leaves nothing to
    // read, so at least 8 bits are required.
    const bool bitsOk = f.bits >= 8 && f.bits <= 32 && f.bits % 8 == 0;
    const bool channelsOk = f.channels == 1 || f.channels == 2;
    if (f.frequency > 0 && f.frequency <= kHighestFrequency && bitsOk && channelsOk)
        return std::nullopt;
    std::string text = "Sorry, this version of quillex only supports up to 192000 hz, "
                       "8/16/24/32-bit, Mono/Stereo audio.\nThis song appears to be - ";
    text += std::to_string(f.frequency) + " hz, ";
    text += std::to_string(f.bits) + "-bit, ";
    if (f.channels == 1)
        text += "Mono audio.";
    else if (f.channels == 2)
        text += "Stereo audio.";
    else
        text += "Other multi-channel audio.";
    text += "\nYou should manually convert the song to a supported format and try again.";
    return text;
}

} // namespace quillex
