// Where the beats of the demo song fall. The music and the chart are both made from this,
// so the .sm's #OFFSET, #BPMS and #STOPS describe the audio exactly:
//
//   #OFFSET:-0.5;          .sm beat 0 sounds at 0.5 s (sample 22050 at 44100 Hz)
//   #BPMS:0=120,32=150;    120 BPM (0.5 s a beat) from beat 0, 150 BPM (0.4 s) from beat 32
//   #STOPS:16=0.5;         at beat 16 the chart stands still for 0.5 s
//
// so the beat b sounds at
//   b <= 16:        0.5 + 0.5 b            (beat 16 at 8.5 s, then the drums pause)
//   16 < b <= 32:   1.0 + 0.5 b            (beat 17 at 9.5 s, beat 32 at 17.0 s)
//   b > 32:         17.0 + 0.4 (b - 32)    (beat 88, the last hit, at 39.4 s)
// The song is 22 measures of 4 beats (beats 0..87) and a closing hit on beat 88.
#pragma once

namespace demo {

constexpr double firstBeatSeconds = 0.5;
constexpr double firstBpm = 120.0;
constexpr double tempoChangeBeat = 32.0;
constexpr double secondBpm = 150.0;
constexpr double stopBeat = 16.0;
constexpr double stopSeconds = 0.5;
constexpr int measureCount = 22;
constexpr double lastBeat = 88.0;

// The time in the music of a (possibly fractional) .sm beat.
constexpr double beatSeconds(double beat) {
    const double firstLength = 60.0 / firstBpm;
    if (beat <= stopBeat) {
        return firstBeatSeconds + beat * firstLength;
    }
    const double afterStop = firstBeatSeconds + stopSeconds;
    if (beat <= tempoChangeBeat) {
        return afterStop + beat * firstLength;
    }
    return afterStop + tempoChangeBeat * firstLength + (beat - tempoChangeBeat) * 60.0 / secondBpm;
}

static_assert(beatSeconds(16) == 8.5 && beatSeconds(17) == 9.5 && beatSeconds(32) == 17.0);

} // namespace demo
