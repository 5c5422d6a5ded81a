// Text formatting shared by the status layer and the grid labels.
#include "view/status_texts.h"

#include <cstdio>

#include "audio/player_settings.h"
#include "base/number_format.h"

namespace quillex {

const char* snapName(int snapIndex) {
    if (snapIndex < 0 || snapIndex >= static_cast<int>(kSnapSettings.size()))
        return "";
    // The table's names are string literals, so their data is NUL-terminated.
    return kSnapSettings[static_cast<std::size_t>(snapIndex)].statusName.data();
}

std::string beatText(RowPosition row) {
    char text[32];
    std::snprintf(text, sizeof text, "%i:%02i", row.beat, row.fraction);
    return text;
}

std::string positionText(SamplePosition sample, int timeFormat, int sampleRate,
                         const TimingMap& timing) {
    switch (timeFormat) {
    case kTimeSeconds:
        return formatFixed3(sampleRate > 0 ? static_cast<double>(sample) / sampleRate : 0.0);
    case kTimeBeats:
        return beatText(timing.sampleToRow(sample));
    default: // kTimeSamples
        return std::to_string(sample);
    }
}

const char* channelName(int channels) {
    if (channels == 1)
        return "Mono";
    if (channels == 2)
        return "Stereo";
    return "Other";
}

} // namespace quillex
