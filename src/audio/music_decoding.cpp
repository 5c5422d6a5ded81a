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

// Builds the pyramid alongside the decoding. 16-bit frames are folded right here,
// each chunk while it is still in the cache: that takes a few vector instructions per
// block, less than handing the chunk to another core would cost. Wider samples are
// reduced here (their chunk buffer is reused at once) and handed to a worker, which
// keeps them for the fine levels and folds them while this thread reads on.
class PeakFeeder {
  public:
    PeakFeeder(PeakPyramid* peaks, int channels, bool wide) : peaks_(peaks), channels_(channels) {
        if (peaks && wide)
            worker_.emplace(*peaks);
    }
    void feed16(const std::int16_t* frames, std::int64_t count) {
        if (peaks_)
            peaks_->appendFrames16(frames, channels_, static_cast<std::size_t>(count));
    }
    void feed32(const std::int32_t* frames, std::int64_t count) {
        if (!worker_)
            return;
        PeakWorker::Chunk& chunk = worker_->acquire();
        const int last = channels_ - 1;
        for (std::int64_t i = 0; i < count; ++i) {
            chunk.left[static_cast<std::size_t>(i)] = reduceSample(frames[i * channels_]);
            chunk.right[static_cast<std::size_t>(i)] = reduceSample(frames[i * channels_ + last]);
        }
        chunk.count = static_cast<std::size_t>(count);
        worker_->submit(chunk);
    }
    bool finish() { return !worker_ || worker_->finish(); }

  private:
    PeakPyramid* peaks_;
    int channels_;
    std::optional<PeakWorker> worker_;
};

// Fills `pcm` and feeds the worker; the caller hands the finished music to the pyramid.
bool decodeFrames(MusicDecoder& decoder, const MusicFormat& format, PcmData& pcm,
                  PeakPyramid* peaks) {
    const int channels = format.channels;
    if (channels < 1 || channels > 2)
        return false;
    const bool wide = format.bits > 16 || format.floatingPoint;
    pcm.channels = channels;
    pcm.frequency = format.frequency;
    pcm.samples.clear();
    std::int64_t reserved = 0;
    if (format.frames > 0) {
        reserved = std::min(format.frames, kMaxReservedFrames);
        pcm.samples.reserve(static_cast<std::size_t>(reserved * channels));
        if (peaks)
            peaks->reserve(static_cast<std::size_t>(reserved));
        if (peaks && wide)
            peaks->reserveSamples(static_cast<std::size_t>(reserved));
    }

    auto feeder = std::make_unique<PeakFeeder>(peaks, channels, wide);
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
        if (room > 0) {
            pcm.samples.resize(used + gotSamples);
        } else if (gotSamples > 0) {
            pcm.samples.insert(pcm.samples.end(), spare.begin(), spare.begin() + gotSamples);
        }
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

} // namespace

bool decodeAll(MusicDecoder& decoder, const MusicFormat& format,
               const std::shared_ptr<PcmData>& pcm, PeakPyramid* peaks) {
    if (!decodeFrames(decoder, format, *pcm, peaks))
        return false;
    if (peaks)
        peaks->readSamplesFrom(pcm);
    return true;
}

} // namespace quillex
