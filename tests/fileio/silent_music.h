// Music for reading songs without real audio files: a decoder that serves silence of a
// chosen rate and length for any regular file, and a backend that pairs it with
// the silent output.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>

#include "audio/audio_backend.h"
#include "audio/silent_output.h"

namespace quillex::test {

struct SilentMusicFormat {
    int rate = 44100;
    std::int64_t frames = 44100 * 20;
    bool anyPath = false; // also "decode" folders and other files that are not regular
    // A sharp click every `clickPeriod` frames from `firstClick` on (none when 0), for
    // tests that need a rhythm to find.
    std::int64_t clickPeriod = 0;
    std::int64_t firstClick = 0;
};

class SilentMusicDecoder : public MusicDecoder {
  public:
    explicit SilentMusicDecoder(const SilentMusicFormat& format) : format_(format) {}
    bool open(const std::string& path, MusicFormat& format) override {
        std::error_code error;
        if (!format_.anyPath && !std::filesystem::is_regular_file(path, error))
            return false;
        format = {format_.rate, 16, 1, false, format_.frames};
        return true;
    }
    std::int64_t read16(std::int16_t* out, std::int64_t frames) override {
        const std::int64_t n = std::min(frames, format_.frames - next_);
        std::fill_n(out, n, std::int16_t{0});
        for (std::int64_t i = 0; format_.clickPeriod > 0 && i < n; ++i) {
            const std::int64_t since = next_ + i - format_.firstClick;
            const std::int64_t into = since % format_.clickPeriod;
            if (since >= 0 && into < kClickFrames)
                out[i] = static_cast<std::int16_t>((into % 2 ? -1 : 1) * 20000 *
                                                   (kClickFrames - into) / kClickFrames);
        }
        next_ += n;
        return n;
    }
    std::int64_t read32(std::int32_t*, std::int64_t) override { return -1; }
    bool complete() const override { return true; }

  private:
    static constexpr std::int64_t kClickFrames = 200;
    SilentMusicFormat format_;
    std::int64_t next_ = 0;
};

// `format` is read at every load, so a test may change it between reads.
inline AudioBackend silentMusicBackend(const SilentMusicFormat& format) {
    AudioBackend backend;
    backend.makeDecoder = [&format] { return std::make_unique<SilentMusicDecoder>(format); };
    backend.output = std::make_unique<SilentOutput>();
    return backend;
}

} // namespace quillex::test
