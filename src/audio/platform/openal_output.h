// Plays the music and the effect sounds through an OpenAL Soft device. The music is
// streamed from the decoded frames the player keeps (a short queue of buffers refilled
// by a feeder thread), so the samples are held once, not copied into the library.
// The play position comes from the source's offset with the device latency taken off
// (AL_SOFT_source_latency), smoothed between mixing blocks by a PlayClock.
// Every call into the library after construction, the effect sounds' too (played from the
// input timer's thread), holds one lock, so that no thread reads the context's error flag
// another thread has set.
// Below full speed with "keep pitch" on, the feeder thread runs the music through a
// time stretcher outside the lock and queues what it made; the source then plays at
// its own frequency and each output frame stands for `speed` music frames.
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
#include <vector>

#include "audio/audio_backend.h"
#include "audio/play_clock.h"
#include "audio/platform/stretched_music.h"

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
    void setKeepPitch(bool keep) override;
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
    // True when the music goes through the stretcher: slowed with keep pitch on.
    bool stretchingLocked() const { return keepPitch_ && pitch_ < 1; }
    // The frame heard now, or where the music is paused.
    std::int64_t heardFrameLocked();
    // Starts the source when buffers are queued and it should play.
    void playIfQueuedLocked();
    // Makes and queues stretched music for the free buffers; takes the lock off while
    // the stretcher works, so the timer thread's position reads never wait for it.
    void refillStretched(std::unique_lock<std::mutex>& lock);
    void unqueuePlayedLocked();
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
    // Each queued buffer's length in music frames (fractional when stretched).
    std::deque<double> queuedFrames_;
    std::shared_ptr<const PcmData> music_;
    std::int64_t framesPerBuffer_ = 8192;
    double queueStart_ = 0;       // frame where the first queued buffer starts
    std::int64_t nextFill_ = 0;   // frame the next queued buffer starts with
    std::int64_t startFrame_ = 0; // frame of the last start or seek
    std::int64_t pausedAt_ = 0;
    double lastPosition_ = 0;
    bool wantPlaying_ = false;
    float pitch_ = 1;
    bool keepPitch_ = false;
    PlayClock clock_;

    // The stretcher belongs to the feeder thread; `stretchRun_` counts restarts so a
    // block made for an earlier position is dropped instead of queued.
    StretchedMusic stretched_;
    std::uint64_t stretchRun_ = 0;
    std::uint64_t stretcherRun_ = ~std::uint64_t{0};
    std::vector<std::int16_t> stretchBlock_;

    std::array<ALuint, 3> effectSources_{};
    std::array<ALuint, 3> effectBuffers_{};
};

} // namespace quillex
