#include "audio/mp3_first_frame.h"

#include <cmath>
#include <cstring>

namespace quillex {

namespace {

// Layer III bit rates in kbit/s by index, for MPEG 1 and for MPEG 2 and 2.5.
constexpr int kBitRatesV1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kBitRatesV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int kSampleRatesV1[4] = {44100, 48000, 32000, 0};
// How far after the ID3 tag the first frame may start.
constexpr std::size_t kSyncSearch = 4096;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

std::size_t id3v2Size(const std::uint8_t* data, std::size_t size) {
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0)
        return 0;
    const std::size_t body = (std::size_t{data[6] & 0x7fu} << 21) |
                             (std::size_t{data[7] & 0x7fu} << 14) |
                             (std::size_t{data[8] & 0x7fu} << 7) | std::size_t{data[9] & 0x7fu};
    const std::size_t footer = (data[5] & 0x10) ? 10 : 0;
    return 10 + body + footer;
}

} // namespace

std::optional<Mp3FirstFrame> findFirstMp3Frame(const std::uint8_t* data, std::size_t size) {
    std::size_t pos = id3v2Size(data, size);
    const std::size_t searchEnd = pos + kSyncSearch;
    while (pos + 4 <= size && pos < searchEnd &&
           !(data[pos] == 0xFF && (data[pos + 1] & 0xE0) == 0xE0))
        ++pos;
    if (pos + 4 > size || pos >= searchEnd)
        return std::nullopt;

    const std::uint8_t* h = data + pos;
    const int version = (h[1] >> 3) & 3; // 3 MPEG 1, 2 MPEG 2, 0 MPEG 2.5
    const int layer = (h[1] >> 1) & 3;   // 1 is layer III
    const int bitRateIndex = h[2] >> 4;
    const int rateIndex = (h[2] >> 2) & 3;
    const int padding = (h[2] >> 1) & 1;
    const bool mono = (h[3] >> 6) == 3;
    if (version == 1 || layer != 1 || rateIndex == 3)
        return std::nullopt;
    const bool v1 = version == 3;
    const int bitRate = (v1 ? kBitRatesV1 : kBitRatesV2)[bitRateIndex] * 1000;
    const int sampleRate = kSampleRatesV1[rateIndex] >> (v1 ? 0 : version == 2 ? 1 : 2);
    if (bitRate == 0)
        return std::nullopt;

    Mp3FirstFrame first;
    first.offset = pos;
    first.samplesPerFrame = v1 ? 1152 : 576;
    // A frame's bytes are its duration times the bit rate; a padding byte comes in
    // often enough to keep the bit rate exact.
    first.averageBytes = static_cast<double>(first.samplesPerFrame) * bitRate / (8.0 * sampleRate);
    first.bytes = static_cast<std::size_t>(first.averageBytes) + static_cast<std::size_t>(padding);
    const std::size_t frameEnd = pos + first.bytes;

    const std::size_t sideInfo = v1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const std::size_t tag = pos + 4 + sideInfo;
    if (tag + 8 > size || tag + 8 > frameEnd)
        return first;
    const bool info = std::memcmp(data + tag, "Info", 4) == 0;
    if (!info && std::memcmp(data + tag, "Xing", 4) != 0)
        return first;
    Mp3InfoFrame& frame = first.infoFrame.emplace();
    frame.info = info;
    const std::uint32_t flags = bigEndian32(data + tag + 4);
    if ((flags & 1u) && tag + 12 <= size)
        frame.frameCount = bigEndian32(data + tag + 8);
    // The LAME extension follows the fields the flags announce: frames, bytes, table
    // of contents, quality. Its delay and padding sit 21 bytes in.
    const std::size_t extension = tag + 8 + ((flags & 1u) ? 4 : 0) + ((flags & 2u) ? 4 : 0) +
                                  ((flags & 4u) ? 100 : 0) + ((flags & 8u) ? 4 : 0);
    if (extension + 24 <= frameEnd && extension + 24 <= size)
        frame.delayFieldOffset = extension + 21;
    return first;
}

std::int64_t estimateMp3Frames(const Mp3FirstFrame& first, std::size_t fileSize) {
    const std::size_t audioStart = first.offset + (first.infoFrame ? first.bytes : 0);
    if (fileSize <= audioStart || first.averageBytes <= 0)
        return 0;
    const double frames = static_cast<double>(fileSize - audioStart) / first.averageBytes;
    return (static_cast<std::int64_t>(std::ceil(frames)) + 1) * first.samplesPerFrame;
}

} // namespace quillex
