// The three effect sounds the program plays: the beat tick, the note tick and the mine.
#pragma once

#include <string>

namespace sounds {

// Writes beattick.wav, notetick.wav and minesound.wav into the folder (44100 Hz, 16-bit,
// mono). False if any could not be written.
bool writeEffectSounds(const std::string& folder);

} // namespace sounds
