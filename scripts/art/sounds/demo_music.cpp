// The demo song's music. Beat times (see demo_timing.h for the derivation):
//   .sm beat 0 at 0.5 s; 120 BPM, so beat b at 0.5 + 0.5 b seconds up to beat 16 (8.5 s);
//   a stop of 0.5 s at beat 16: the drums pause, beat 17 comes at 9.5 s;
//   beat b at 1.0 + 0.5 b seconds up to beat 32 (17.0 s), where the tempo becomes 150 BPM;
//   beat b at 17.0 + 0.4 (b - 32) seconds after that; the last hit, beat 88, at 39.4 s.
// Kick on every beat, snare on the 2nd and 4th beat of each measure, closed hi-hats on
// every eighth, a crash on beats 0, 32 and 88, a short bass note on each beat and a little
// melody in the second half. Every sound starts exactly at the sample of its beat.
#include "demo_music.h"

#include "demo_timing.h"
#include "ogg_serial.h"
#include "synth.h"

#include <cmath>

namespace demo {

namespace {

using synth::Buffer;

int64_t at(double beat) {
    return synth::sampleAt(beatSeconds(beat));
}

void kick(Buffer& mix, double beat) {
    synth::addTone(mix, at(beat),
                   {.frequency = 160,
                    .endFrequency = 45,
                    .seconds = 0.35,
                    .amplitude = 0.9,
                    .decay = 9,
                    .attack = 0.0005});
    synth::addNoise(mix, at(beat),
                    {.seconds = 0.01,
                     .amplitude = 0.25,
                     .decay = 300,
                     .lowpass = 0.5,
                     .highpass = 0.0,
                     .seed = 2});
}

void snare(Buffer& mix, double beat) {
    synth::addTone(mix, at(beat),
                   {.frequency = 200,
                    .endFrequency = 170,
                    .seconds = 0.12,
                    .amplitude = 0.35,
                    .decay = 30,
                    .attack = 0.0005});
    synth::addNoise(mix, at(beat),
                    {.seconds = 0.22,
                     .amplitude = 0.55,
                     .decay = 16,
                     .lowpass = 0.7,
                     .highpass = 0.6,
                     .seed = 7});
}

void hat(Buffer& mix, double beat, bool open) {
    synth::addNoise(mix, at(beat),
                    {.seconds = open ? 0.3 : 0.05,
                     .amplitude = 0.22,
                     .decay = open ? 10.0 : 70.0,
                     .lowpass = 1.0,
                     .highpass = 0.95,
                     .seed = 17});
}

void crash(Buffer& mix, double beat) {
    synth::addNoise(mix, at(beat),
                    {.seconds = 1.6,
                     .amplitude = 0.35,
                     .decay = 2.6,
                     .lowpass = 0.9,
                     .highpass = 0.9,
                     .seed = 23});
}

double noteFrequency(int semitonesFromA2) {
    return 110.0 * std::pow(2.0, semitonesFromA2 / 12.0);
}

void bass(Buffer& mix, double beat, int semitones) {
    synth::addTone(mix, at(beat),
                   {.frequency = noteFrequency(semitones),
                    .endFrequency = noteFrequency(semitones),
                    .seconds = 0.3,
                    .amplitude = 0.32,
                    .decay = 7,
                    .attack = 0.004,
                    .harmonics = 3});
}

void blip(Buffer& mix, double beat, int semitones) {
    synth::addTone(mix, at(beat),
                   {.frequency = noteFrequency(semitones),
                    .endFrequency = noteFrequency(semitones),
                    .seconds = 0.18,
                    .amplitude = 0.13,
                    .decay = 14,
                    .attack = 0.003,
                    .harmonics = 2});
}

} // namespace

bool writeDemoMusic(const std::string& path) {
    Buffer mix;
    // A minor, F, C, G: one chord a measure, as semitones above A2.
    const int roots[4] = {0, -4, 3, -2};
    const int melody[4][4] = {
        {24, 27, 31, 27}, {20, 24, 27, 24}, {27, 31, 34, 31}, {22, 26, 29, 26}};
    for (int measure = 0; measure < measureCount; ++measure) {
        const int chord = measure % 4;
        for (int step = 0; step < 4; ++step) {
            const double beat = measure * 4 + step;
            kick(mix, beat);
            if (step % 2 == 1) {
                snare(mix, beat);
            }
            hat(mix, beat, false);
            // The eighth after the stop's beat waits for the chart like everything else.
            hat(mix, beat + 0.5, step == 3);
            bass(mix, beat, roots[chord]);
            if (measure >= 8 && measure % 2 == 0) {
                blip(mix, beat + 0.5, melody[chord][step]);
            }
        }
    }
    crash(mix, 0);
    crash(mix, tempoChangeBeat);
    kick(mix, lastBeat);
    crash(mix, lastBeat);
    bass(mix, lastBeat, 0);
    mix.resize(static_cast<size_t>(at(lastBeat) + synth::sampleAt(1.7)), 0.0f);
    synth::normalise(mix, 0.9f);
    return synth::writeOggVorbis(path, mix, 0.35) && synth::setOggSerial(path, 0x71786465);
}

} // namespace demo
