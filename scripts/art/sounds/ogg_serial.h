// Gives every page of an Ogg file one fixed stream serial number. The Vorbis writer picks
// a random serial, so without this the demo's music would change on every regeneration
// although its sound did not.
#pragma once

#include <cstdint>
#include <string>

namespace synth {

// Rewrites the serial of every page (and its checksum) in place. False when the file is
// not a single-stream Ogg file or cannot be rewritten.
bool setOggSerial(const std::string& path, std::uint32_t serial);

} // namespace synth
