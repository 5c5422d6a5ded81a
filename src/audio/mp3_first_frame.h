// Reads the first MPEG layer III frame of an MP3 (after an optional ID3v2 tag): its
// size in samples and bytes, and whether it is the Xing or Info frame that encoders
// put before the audio. That frame carries the stream's frame count and (in its LAME
// extension) the encoder's delay and padding, which decoders use to trim the music
// "gaplessly"; the decoder clears delay and padding so that nothing of the music is cut.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quillex {

struct Mp3InfoFrame {
    // Tagged "Info", as LAME tags constant-bit-rate files, rather than "Xing".
    bool info = false;
    std::int64_t frameCount = -1; // audio frames the tag announces; -1 when it has none
    // Where the 3 bytes of encoder delay and padding lie in the file; 0 when the
    // frame has no LAME extension.
    std::size_t delayFieldOffset = 0;
};

struct Mp3FirstFrame {
    std::size_t offset = 0;                // where the frame starts in the file
    std::size_t bytes = 0;                 // its size
    int samplesPerFrame = 0;               // 1152 at MPEG-1, 576 at MPEG-2 and 2.5
    double averageBytes = 0;               // bytes of a frame at its bit rate, padding averaged in
    std::optional<Mp3InfoFrame> infoFrame; // when the frame is an Xing or Info frame
};

// Nothing when the data do not start (after an ID3v2 tag and a little junk) with a
// layer III frame.
std::optional<Mp3FirstFrame> findFirstMp3Frame(const std::uint8_t* data, std::size_t size);

// Room to reserve for the decoded music of a file of `fileSize` bytes: the frames it
// holds if all its audio frames are like the first, rounded up and one more, so that
// a constant-bit-rate file fits (its tags may make the guess a little long); for a
// variable bit rate only a guess.
std::int64_t estimateMp3Frames(const Mp3FirstFrame& first, std::size_t fileSize);

} // namespace quillex
