// What the view reads of the music player in one frame, copied into plain values so
// that the layers and the status texts do not depend on how the player keeps them.
#pragma once

#include "audio/player_settings.h"
#include "model/row_position.h"

namespace quillex {

struct TransportState {
    double position = 0; // play position in samples
    bool loaded = false;
    bool playing = false;
    int sampleRate = 44100;
    SamplePosition length = 0;
    int snapIndex = 0;             // 0 "No Snap" .. 10 "192nd (48)"
    int timeFormat = kTimeSeconds; // kTimeSamples, kTimeSeconds or kTimeBeats
    bool beatTickOn = false;
    bool noteTickOn = false;
    int volumePercent = 100;
    int speedPercent = 100;
    int fileFrequency = 0;
    int fileBits = 0;
    int fileChannels = 0;
};

} // namespace quillex
