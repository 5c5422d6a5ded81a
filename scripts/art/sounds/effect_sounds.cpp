// The assist ticks and the mine sound (see effect_sounds.h). The beat tick is a low, woody
// knock and the note tick a higher, brighter click, so the two can be told apart when
// they sound together; both start at once and fade out to silence within 50 ms.
#include "effect_sounds.h"

#include "synth.h"

namespace sounds {

namespace {

synth::Buffer beatTick() {
    synth::Buffer buffer;
    // Two inharmonic partials, the upper one dying faster, like a small wooden block.
    synth::addTone(buffer, 0,
                   {.frequency = 820,
                    .endFrequency = 760,
                    .seconds = 0.05,
                    .amplitude = 0.8,
                    .decay = 85,
                    .attack = 0.0004});
    synth::addTone(buffer, 0,
                   {.frequency = 2230,
                    .endFrequency = 2150,
                    .seconds = 0.03,
                    .amplitude = 0.3,
                    .decay = 170,
                    .attack = 0.0004});
    synth::addNoise(buffer, 0,
                    {.seconds = 0.006,
                     .amplitude = 0.25,
                     .decay = 600,
                     .lowpass = 0.35,
                     .highpass = 0.0,
                     .seed = 3});
    synth::normalise(buffer, 0.85f);
    return buffer;
}

synth::Buffer noteTick() {
    synth::Buffer buffer;
    synth::addTone(buffer, 0,
                   {.frequency = 2900,
                    .endFrequency = 2800,
                    .seconds = 0.035,
                    .amplitude = 0.7,
                    .decay = 130,
                    .attack = 0.0003});
    synth::addTone(buffer, 0,
                   {.frequency = 5700,
                    .endFrequency = 5600,
                    .seconds = 0.02,
                    .amplitude = 0.25,
                    .decay = 260,
                    .attack = 0.0003});
    synth::addNoise(buffer, 0,
                    {.seconds = 0.004,
                     .amplitude = 0.3,
                     .decay = 900,
                     .lowpass = 1.0,
                     .highpass = 0.9,
                     .seed = 5});
    synth::normalise(buffer, 0.8f);
    return buffer;
}

synth::Buffer mineSound() {
    synth::Buffer buffer;
    // A falling electric zap over a burst of dark noise, roughened a little.
    synth::addTone(buffer, 0,
                   {.frequency = 1500,
                    .endFrequency = 90,
                    .seconds = 0.15,
                    .amplitude = 0.5,
                    .decay = 16,
                    .attack = 0.001,
                    .harmonics = 4});
    synth::addNoise(buffer, 0,
                    {.seconds = 0.15,
                     .amplitude = 0.9,
                     .decay = 22,
                     .lowpass = 0.25,
                     .highpass = 0.0,
                     .seed = 11});
    synth::addNoise(buffer, 0,
                    {.seconds = 0.04,
                     .amplitude = 0.4,
                     .decay = 90,
                     .lowpass = 1.0,
                     .highpass = 0.9,
                     .seed = 13});
    synth::saturate(buffer, 2.5f);
    synth::normalise(buffer, 0.85f);
    return buffer;
}

} // namespace

bool writeEffectSounds(const std::string& folder) {
    bool ok = synth::writeWav(folder + "/beattick.wav", beatTick());
    ok &= synth::writeWav(folder + "/notetick.wav", noteTick());
    ok &= synth::writeWav(folder + "/minesound.wav", mineSound());
    return ok;
}

} // namespace sounds
