// Text formatting shared by the status layer and the grid labels.
#include "view/status_texts.h"

#include <array>
#include <cstdio>

namespace quillex {

const char* snapName(int snapIndex) {
    static constexpr std::array<const char*, 11> kNames{
        "No Snap",  "4th (1)",   "8th (2)",   "12th (3)",  "16th (4)",  "24th (6)",
        "32nd (8)", "48th (12)", "64th (16)", "96th (24)", "192nd (48)"};
    if (snapIndex < 0 || snapIndex >= static_cast<int>(kNames.size()))
        return "";
    return kNames[snapIndex];
}

std::string threeDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string beatText(RowPosition row) {
    char text[32];
    std::snprintf(text, sizeof text, "%i:%02i", row.beat, row.fraction);
    return text;
}

std::string positionText(SamplePosition sample, int timeFormat, int sampleRate,
                         const TimingMap& timing) {
    switch (static_cast<TimeFormat>(timeFormat)) {
    case TimeFormat::Samples:
        return std::to_string(sample);
    case TimeFormat::Seconds:
        return threeDecimals(sampleRate > 0 ? static_cast<double>(sample) / sampleRate : 0.0);
    case TimeFormat::Beats:
        return beatText(timing.sampleToRow(sample));
    }
    return std::to_string(sample);
}

const char* channelName(int channels) {
    if (channels == 1)
        return "Mono";
    if (channels == 2)
        return "Stereo";
    return "Other";
}

} // namespace quillex
