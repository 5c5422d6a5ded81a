// The format of an opened music file as the decoder reports it, and the check that
// decides whether the editor can work with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillex {

struct MusicFormat {
    int frequency = 0; // Hz
    int bits = 0;      // bits per sample as stored in the file
    int channels = 0;
    bool floatingPoint = false; // 32-bit float data (scaled, never read as integers)
    std::int64_t frames = -1;   // length the file announces; -1 when unknown
};

inline constexpr int kHighestFrequency = 192000;

// The message that refuses a format, or nothing when the format is accepted:
// at most 192000 Hz, 8, 16, 24 or 32 bits, one or two channels.
std::optional<std::string> formatRefusal(const MusicFormat& format);

} // namespace quillex
