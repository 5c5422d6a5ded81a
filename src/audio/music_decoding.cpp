#include "audio/music_decoding.h"

#include <algorithm>
#include <array>
#include <optional>

#include "audio/peak_worker.h"

namespace quillex {

namespace {

constexpr auto kChunkFrames = static_cast<std::int64_t>(PeakWorker::kChunkFrames);
// Reserving more than this up front is not trusted to a file's header.
constexpr std::int64_t kMaxReservedFrames = std::int64_t{1} << 27;

// Reduces chunks of decoded frames to signed bytes, left and right apart, and hands
// them to the worker that builds the pyramid.
class PeakFeeder {
  public:
    PeakFeeder(PeakPyramid* peaks, int channels) : channels_(channels) {
        if (peaks)
            worker_.emplace(*peaks);
    }
    void feed16(const std::int16_t* frames, std::int64_t count) {
        feed(count, [frames](std::int64_t at) { return reduceSample16(frames[at]); });
    }
    void feed32(const std::int32_t* frames, std::int64_t count) {
        feed(count, [frames](std::int64_t at) { return reduceSample(frames[at]); });
    }
    bool finish() { return !worker_ || worker_->finish(); }

  private:
    template <class Reduce> void feed(std::int64_t count, Reduce reduce) {
        if (!worker_)
            return;
        PeakWorker::Chunk& chunk = worker_->acquire();
        // Fixed strides per channel count, so the loops vectorise; mono gives both
        // sides the one channel.
        if (channels_ == 2)
            split<2>(chunk, count, reduce);
        else
            split<1>(chunk, count, reduce);
        chunk.count = static_cast<std::size_t>(count);
        worker_->submit(chunk);
    }
    template <int Channels, class Reduce>
    static void split(PeakWorker::Chunk& chunk, std::int64_t count, Reduce reduce) {
        for (std::int64_t i = 0; i < count; ++i) {
            chunk.left[static_cast<std::size_t>(i)] = reduce(i * Channels);
            chunk.right[static_cast<std::size_t>(i)] = reduce(i * Channels + Channels - 1);
        }
    }

    int channels_;
    std::optional<PeakWorker> worker_;
};

} // namespace

bool decodeAll(MusicDecoder& decoder, const MusicFormat& format, PcmData& pcm, PeakPyramid* peaks) {
    const int channels = format.channels;
    if (channels < 1 || channels > 2)
        return false;
    pcm.channels = channels;
    pcm.frequency = format.frequency;
    pcm.samples.clear();
    if (format.frames > 0) {
        const auto reserved = std::min(format.frames, kMaxReservedFrames);
        pcm.samples.reserve(static_cast<std::size_t>(reserved * channels));
        if (peaks)
            peaks->reserve(static_cast<std::size_t>(reserved));
    }

    auto feeder = std::make_unique<PeakFeeder>(peaks, channels);
    const bool wide = format.bits > 16 || format.floatingPoint;
    std::vector<std::int32_t> wideChunk(wide ? kChunkFrames * channels : 0);
    // Frames beyond the announced length arrive here first, so the reserved buffer
    // only grows when the file really holds more.
    std::vector<std::int16_t> spare;
    std::int64_t total = 0;
    for (;;) {
        const std::size_t used = pcm.samples.size();
        const auto room = static_cast<std::int64_t>(pcm.samples.capacity() - used) / channels;
        const std::int64_t want = room > 0 ? std::min(room, kChunkFrames) : kChunkFrames;
        std::int16_t* dest;
        if (room > 0) {
            pcm.samples.resize(used + static_cast<std::size_t>(want * channels));
            dest = pcm.samples.data() + used;
        } else {
            spare.resize(static_cast<std::size_t>(kChunkFrames * channels));
            dest = spare.data();
        }
        std::int64_t got;
        if (wide) {
            got = decoder.read32(wideChunk.data(), want);
            for (std::int64_t i = 0; i < std::max<std::int64_t>(got, 0) * channels; ++i)
                dest[i] = static_cast<std::int16_t>(wideChunk[i] >> 16);
        } else {
            got = decoder.read16(dest, want);
        }
        const std::size_t gotSamples =
            static_cast<std::size_t>(std::clamp<std::int64_t>(got, 0, want) * channels);
        if (room > 0)
            pcm.samples.resize(used + gotSamples);
        else
            pcm.samples.insert(pcm.samples.end(), spare.begin(), spare.begin() + gotSamples);
        if (got <= 0) {
            if (got < 0)
                return false;
            break;
        }
        got = std::min(got, want);
        if (wide)
            feeder->feed32(wideChunk.data(), got);
        else
            feeder->feed16(pcm.samples.data() + used, got);
        total += got;
        if (total > kMaxMusicFrames)
            return false;
    }
    if (!feeder->finish())
        return false;
    if (pcm.samples.capacity() > pcm.samples.size() + pcm.samples.size() / 64)
        pcm.samples.shrink_to_fit();
    return total > 0 && decoder.complete();
}

} // namespace quillex
