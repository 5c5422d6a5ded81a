// Plays the music and the effect sounds through an OpenAL Soft device. The music is
// streamed from the decoded frames the player keeps (a short queue of buffers refilled
// by a feeder thread), so the samples are held once, not copied into the library.
// The play position comes from the source's offset with the device latency taken off
// (AL_SOFT_source_latency), smoothed between mixing blocks by a PlayClock.
// Every call into the library after construction, the effect sounds' too (played from the
// input timer's thread), holds one lock, so that no thread reads the context's error flag
// another thread has set.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <array>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "audio/audio_backend.h"
#include "audio/play_clock.h"

namespace quillex {

class OpenAlOutput : public AudioOutput {
  public:
    // Opens the default device; null when there is none.
    static std::unique_ptr<OpenAlOutput> open();
    ~OpenAlOutput() override;

    bool audible() const override { return true; }
    bool openMusic(std::shared_ptr<const PcmData> music) override;
    void closeMusic() override;
    bool setPaused(bool paused) override;
    bool setPosition(SamplePosition frame) override;
    bool getPosition(SamplePosition& frame) override;
    bool setVolume(float gain) override;
    bool setFrequency(float hz) override;
    bool loadEffect(EffectSound sound, std::shared_ptr<const PcmData> pcm) override;
    bool playEffect(EffectSound sound) override;
    void setEffectVolume(EffectSound sound, float gain) override;

  private:
    static constexpr int kQueueLength = 6;
    using LatencyQuery = void(AL_APIENTRY*)(ALuint, ALenum, ALint64SOFT*);

    OpenAlOutput(ALCdevice* device, ALCcontext* context);
    void feed();
    // Unqueues what has played and queues more; the caller holds the lock.
    void refillLocked();
    // Stops the music source and takes every buffer off it; the caller holds the lock.
    void emptyQueueLocked();
    // Empties the queue and fills it again from `frame`; the caller holds the lock.
    void restartLocked(std::int64_t frame);
    double positionLocked();
    bool ok() const { return alGetError() == AL_NO_ERROR; }

    ALCdevice* device_;
    ALCcontext* context_;
    LatencyQuery sampleOffsetLatency_ = nullptr;
    double refreshPerSecond_ = 50;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread feeder_;

    ALuint musicSource_ = 0;
    std::array<ALuint, kQueueLength> buffers_{};
    std::deque<ALuint> freeBuffers_;
    std::deque<std::int64_t> queuedFrames_;
    std::shared_ptr<const PcmData> music_;
    std::int64_t framesPerBuffer_ = 8192;
    std::int64_t queueStart_ = 0; // frame where the first queued buffer starts
    std::int64_t nextFill_ = 0;   // frame the next queued buffer starts with
    std::int64_t startFrame_ = 0; // frame of the last start or seek
    std::int64_t pausedAt_ = 0;
    double lastPosition_ = 0;
    bool wantPlaying_ = false;
    float pitch_ = 1;
    PlayClock clock_;

    std::array<ALuint, 3> effectSources_{};
    std::array<ALuint, 3> effectBuffers_{};
};

} // namespace quillex
