// An output without a device: nothing is heard, but the music's position advances
// with the clock exactly as playback would (speed included), so the editor works the
// same when the machine has no sound card.
#pragma once

#include <functional>
#include <mutex>

#include "audio/audio_backend.h"

namespace quillex {

class SilentOutput : public AudioOutput {
  public:
    // Nanoseconds of a steady clock; tests pass a clock they move by hand.
    using Clock = std::function<std::int64_t()>;
    SilentOutput();
    explicit SilentOutput(Clock clock);

    bool audible() const override { return false; }
    bool openMusic(std::shared_ptr<const PcmData> music) override;
    void closeMusic() override;
    bool setPaused(bool paused) override;
    bool setPosition(SamplePosition frame) override;
    bool getPosition(SamplePosition& frame) override;
    bool setVolume(float) override { return true; }
    bool setFrequency(float hz) override;
    bool loadEffect(EffectSound, std::shared_ptr<const PcmData>) override { return true; }
    bool playEffect(EffectSound) override { return true; }
    void setEffectVolume(EffectSound, float) override {}

  private:
    // Position now, in frames with fraction; the caller holds the lock.
    double positionNow() const;
    void restartFrom(double frame);

    Clock clock_;
    mutable std::mutex mutex_;
    std::int64_t length_ = 0;
    bool open_ = false;
    bool paused_ = true;
    double frequency_ = 0;
    double anchorFrame_ = 0;
    std::int64_t anchorTime_ = 0;
};

} // namespace quillex
