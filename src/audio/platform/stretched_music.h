// Music slowed down without lowering its pitch, through Rubber Band's real-time
// stretcher. The stretcher's start is padded and its start delay trimmed, so output
// frame k is the music's frame `start + k × speed`: a play position computed from the
// output frames stays exact to the sample.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/audio_backend.h"

namespace RubberBand {
class RubberBandStretcher;
}

namespace quillex {

class StretchedMusic {
  public:
    StretchedMusic();
    ~StretchedMusic();
    StretchedMusic(const StretchedMusic&) = delete;
    StretchedMusic& operator=(const StretchedMusic&) = delete;

    // Starts a new run of `music` at `frame`, played at `speed` (0 < speed < 1).
    void start(std::shared_ptr<const PcmData> music, std::int64_t frame, double speed);
    // Writes up to `frames` interleaved output frames; fewer only at the music's end,
    // which comes after (length - start) / speed frames.
    std::int64_t read(std::int16_t* out, std::int64_t frames);
    double speed() const { return speed_; }

  private:
    void feedInput();
    void makeStretcher(int channels, int rate);

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher_;
    int channels_ = 0;
    int rate_ = 0;
    std::shared_ptr<const PcmData> music_;
    std::int64_t nextInput_ = 0;
    std::size_t outputToTrim_ = 0;
    std::int64_t outputLeft_ = 0;
    double speed_ = 1;
    bool inputDone_ = false;
    std::vector<std::vector<float>> planes_;
    std::vector<float*> planePointers_;
};

} // namespace quillex
