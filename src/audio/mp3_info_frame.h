// Finds the Xing/Info frame that LAME and other encoders put before an MP3's audio.
// It carries no sound, only the stream's frame count and (in its LAME extension) the
// encoder's delay and padding, which decoders use to trim the music "gaplessly". The
// decoder clears that delay and padding so that nothing of the music is cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quillex {

struct Mp3InfoFrame {
    std::int64_t frameCount = -1; // audio frames the tag announces; -1 when it has none
    // Where the 3 bytes of encoder delay and padding lie in the file; 0 when the
    // frame has no LAME extension.
    std::size_t delayFieldOffset = 0;
};

// Looks at the first MPEG layer III frame after an optional ID3v2 tag. Returns it when
// it is an Xing or Info frame, nothing otherwise (or when the data are not such MP3).
std::optional<Mp3InfoFrame> findMp3InfoFrame(const std::uint8_t* data, std::size_t size);

} // namespace quillex
