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

// Hands chunks of decoded frames to the worker that builds the pyramid: 16-bit frames
// as they lie in the decoded music (the worker reduces them), wider samples reduced
// here, since their chunk buffer is reused at once.
//
// The worker has more to do per frame than a fast decoder (a WAV is little more than a
// copy), and most of that is the kernel clearing the pyramid's new pages as they are
// first written. So while the decoding thread waits for the worker, it maps in the
// pyramid's reserved memory ahead of the worker instead of sleeping.
class PeakFeeder {
  public:
    // `reservedFrames` is what `peaks` was reserved for.
    PeakFeeder(PeakPyramid* peaks, int channels, std::size_t reservedFrames)
        : channels_(channels), reservedFrames_(reservedFrames) {
        if (!peaks)
            return;
        regions_ = peaks->regions();
        worker_.emplace(*peaks);
    }
    void feed16(const std::int16_t* frames, std::int64_t count) {
        if (!worker_)
            return;
        PeakWorker::Chunk& chunk = worker_->acquire([this] { return prefaultAhead(); });
        chunk.frames = frames;
        chunk.channels = channels_;
        chunk.count = static_cast<std::size_t>(count);
        submitted_ += chunk.count;
        worker_->submit(chunk);
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
        chunk.frames = nullptr;
        chunk.count = static_cast<std::size_t>(count);
        submitted_ += chunk.count;
        worker_->submit(chunk);
    }
    // Before the decoded music may move in memory.
    void drain() {
        if (worker_)
            worker_->drain();
    }
    bool finish() { return !worker_ || worker_->finish(); }

  private:
    static constexpr std::size_t kPrefaultFrames = 16384;

    // Maps in the next stretch of every array past what the worker has been given. Only
    // inside the reservation: beyond it the arrays may move. False when nothing is left.
    bool prefaultAhead() {
        prefaulted_ = std::max(prefaulted_, submitted_);
        if (prefaulted_ >= reservedFrames_)
            return false;
        const std::size_t to = std::min(prefaulted_ + kPrefaultFrames, reservedFrames_);
        for (const PeakPyramid::Region& r : regions_) {
            const std::size_t begin = prefaulted_ / r.blockSize;
            const std::size_t end = std::min(to / r.blockSize, r.bytes);
            if (end > begin)
                prefaultPages(r.data + begin, end - begin);
        }
        prefaulted_ = to;
        return true;
    }

    int channels_;
    std::size_t reservedFrames_;
    std::vector<PeakPyramid::Region> regions_;
    std::size_t submitted_ = 0;
    std::size_t prefaulted_ = 0;
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
    std::int64_t reserved = 0;
    if (format.frames > 0) {
        reserved = std::min(format.frames, kMaxReservedFrames);
        pcm.samples.reserve(static_cast<std::size_t>(reserved * channels));
        if (peaks)
            peaks->reserve(static_cast<std::size_t>(reserved));
    }

    auto feeder = std::make_unique<PeakFeeder>(peaks, channels, static_cast<std::size_t>(reserved));
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
        if (room > 0) {
            pcm.samples.resize(used + gotSamples);
        } else if (gotSamples > 0) {
            // Growing may move the frames the worker still reads.
            feeder->drain();
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

} // namespace quillex
