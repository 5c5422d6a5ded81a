#include "audio/platform/openal_output.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace quillex {

namespace {

ALenum alFormatOf(const PcmData& pcm) {
    return pcm.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
}

ALsizei byteCount(std::int64_t frames, int channels) {
    return static_cast<ALsizei>(frames * channels *
                                static_cast<std::int64_t>(sizeof(std::int16_t)));
}

} // namespace

std::unique_ptr<OpenAlOutput> OpenAlOutput::open() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return nullptr;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return nullptr;
    }
    return std::unique_ptr<OpenAlOutput>(new OpenAlOutput(device, context));
}

OpenAlOutput::OpenAlOutput(ALCdevice* device, ALCcontext* context)
    : device_(device), context_(context) {
    alGenSources(1, &musicSource_);
    alGenBuffers(kQueueLength, buffers_.data());
    freeBuffers_.assign(buffers_.begin(), buffers_.end());
    alGenSources(static_cast<ALsizei>(effectSources_.size()), effectSources_.data());
    if (alIsExtensionPresent("AL_SOFT_source_latency"))
        sampleOffsetLatency_ =
            reinterpret_cast<LatencyQuery>(alGetProcAddress("alGetSourcei64vSOFT"));
    ALCint refresh = 0;
    alcGetIntegerv(device_, ALC_REFRESH, 1, &refresh);
    if (refresh > 0)
        refreshPerSecond_ = refresh;
    feeder_ = std::thread([this] { feed(); });
}

OpenAlOutput::~OpenAlOutput() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    feeder_.join();
    alSourceStop(musicSource_);
    alSourcei(musicSource_, AL_BUFFER, 0);
    alDeleteSources(1, &musicSource_);
    alDeleteBuffers(kQueueLength, buffers_.data());
    for (ALuint source : effectSources_)
        alSourcei(source, AL_BUFFER, 0);
    alDeleteSources(static_cast<ALsizei>(effectSources_.size()), effectSources_.data());
    for (ALuint buffer : effectBuffers_)
        if (buffer)
            alDeleteBuffers(1, &buffer);
    if (alcGetCurrentContext() == context_)
        alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void OpenAlOutput::feed() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, std::chrono::milliseconds(10));
        if (music_ && wantPlaying_) {
            if (stretchingLocked())
                refillStretched(lock);
            else
                refillLocked();
        }
    }
}

void OpenAlOutput::unqueuePlayedLocked() {
    ALint processed = 0;
    alGetSourcei(musicSource_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0 && !queuedFrames_.empty(); --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(musicSource_, 1, &buffer);
        freeBuffers_.push_back(buffer);
        queueStart_ += queuedFrames_.front();
        queuedFrames_.pop_front();
    }
}

void OpenAlOutput::playIfQueuedLocked() {
    if (!wantPlaying_ || queuedFrames_.empty())
        return;
    // Not playing although it should: just started, or the queue ran dry.
    ALint state = AL_STOPPED;
    alGetSourcei(musicSource_, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING)
        alSourcePlay(musicSource_);
}

void OpenAlOutput::refillLocked() {
    unqueuePlayedLocked();
    const std::int64_t length = music_->frames();
    while (!freeBuffers_.empty() && nextFill_ < length) {
        const std::int64_t frames = std::min(framesPerBuffer_, length - nextFill_);
        const ALuint buffer = freeBuffers_.front();
        freeBuffers_.pop_front();
        alBufferData(buffer, alFormatOf(*music_),
                     music_->samples.data() + nextFill_ * music_->channels,
                     byteCount(frames, music_->channels), music_->frequency);
        alSourceQueueBuffers(musicSource_, 1, &buffer);
        queuedFrames_.push_back(static_cast<double>(frames));
        nextFill_ += frames;
    }
    playIfQueuedLocked();
}

void OpenAlOutput::refillStretched(std::unique_lock<std::mutex>& lock) {
    unqueuePlayedLocked();
    while (!freeBuffers_.empty() && nextFill_ < music_->frames() && stretchingLocked()) {
        const std::uint64_t run = stretchRun_;
        const std::shared_ptr<const PcmData> music = music_;
        const std::int64_t from = nextFill_;
        const double speed = pitch_;
        const std::int64_t frames = framesPerBuffer_;
        lock.unlock();
        if (stretcherRun_ != run) {
            stretched_.start(music, from, speed);
            stretcherRun_ = run;
        }
        stretchBlock_.resize(static_cast<std::size_t>(frames * music->channels));
        const std::int64_t made = stretched_.read(stretchBlock_.data(), frames);
        lock.lock();
        if (run != stretchRun_ || music != music_)
            return; // a seek or a new song came meanwhile: this block is of no use
        if (made == 0) {
            nextFill_ = music_->frames(); // the stretcher gave out the music's end
            break;
        }
        const ALuint buffer = freeBuffers_.front();
        freeBuffers_.pop_front();
        alBufferData(buffer, alFormatOf(*music_), stretchBlock_.data(),
                     byteCount(made, music_->channels), music_->frequency);
        alSourceQueueBuffers(musicSource_, 1, &buffer);
        queuedFrames_.push_back(static_cast<double>(made) * speed);
        playIfQueuedLocked(); // start with the first block, not after the whole queue
    }
}

void OpenAlOutput::emptyQueueLocked() {
    alSourceStop(musicSource_);
    alSourcei(musicSource_, AL_BUFFER, 0);
    freeBuffers_.assign(buffers_.begin(), buffers_.end());
    queuedFrames_.clear();
}

void OpenAlOutput::restartLocked(std::int64_t frame) {
    emptyQueueLocked();
    nextFill_ = startFrame_ = pausedAt_ = frame;
    queueStart_ = lastPosition_ = static_cast<double>(frame);
    clock_.reset();
    alSourcef(musicSource_, AL_PITCH, stretchingLocked() ? 1.0f : pitch_);
    if (stretchingLocked()) {
        ++stretchRun_;
        wake_.notify_all(); // the feeder stretches and queues from here
    } else {
        refillLocked();
    }
}

std::int64_t OpenAlOutput::heardFrameLocked() {
    return wantPlaying_ ? static_cast<std::int64_t>(std::floor(positionLocked())) : pausedAt_;
}

double OpenAlOutput::positionLocked() {
    const auto length = static_cast<double>(music_->frames());
    if (!wantPlaying_)
        return static_cast<double>(pausedAt_);
    ALint state = AL_STOPPED;
    alGetSourcei(musicSource_, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED) {
        // Played to the end, or the queue ran dry and the feeder is about to restart
        // it: then the offset says nothing, and the position holds still.
        if (nextFill_ >= music_->frames())
            return length;
        return lastPosition_;
    }
    double offset = 0;
    double latency = 0;
    if (sampleOffsetLatency_) {
        ALint64SOFT values[2] = {0, 0};
        sampleOffsetLatency_(musicSource_, AL_SAMPLE_OFFSET_LATENCY_SOFT, values);
        offset = static_cast<double>(values[0]) / 4294967296.0;
        latency = static_cast<double>(values[1]) * 1e-9;
    } else {
        ALint frames = 0;
        alGetSourcei(musicSource_, AL_SAMPLE_OFFSET, &frames);
        offset = frames;
    }
    // Music frames per second heard, and per frame of the queued buffers.
    const double rate = music_->frequency * static_cast<double>(pitch_);
    const double framesPerOffset = stretchingLocked() ? static_cast<double>(pitch_) : 1.0;
    // What is heard now left the mixer `latency` seconds ago.
    const double raw = queueStart_ + offset * framesPerOffset - latency * rate;
    const double refined =
        clock_.refine(steadyNanoseconds(), raw, rate, 1.5 * rate / refreshPerSecond_);
    // Within one run of playback the position never goes back, also not when a speed
    // change restarts the refinement from a block-old reading.
    lastPosition_ =
        std::clamp(std::max(refined, lastPosition_), static_cast<double>(startFrame_), length);
    return lastPosition_;
}

bool OpenAlOutput::openMusic(std::shared_ptr<const PcmData> music) {
    std::lock_guard lock(mutex_);
    if (!music || music->channels < 1 || music->channels > 2 || music->frequency <= 0)
        return false;
    alGetError();
    music_ = std::move(music);
    framesPerBuffer_ = std::max<std::int64_t>(4096, music_->frequency / 8);
    wantPlaying_ = false;
    pitch_ = 1;
    alSourcef(musicSource_, AL_PITCH, 1);
    alSourcef(musicSource_, AL_GAIN, 1);
    restartLocked(0);
    return ok();
}

void OpenAlOutput::closeMusic() {
    std::lock_guard lock(mutex_);
    emptyQueueLocked();
    music_.reset();
    wantPlaying_ = false;
}

bool OpenAlOutput::setPaused(bool paused) {
    std::lock_guard lock(mutex_);
    if (!music_)
        return false;
    alGetError();
    if (paused && wantPlaying_) {
        pausedAt_ = heardFrameLocked();
        wantPlaying_ = false;
        alSourcePause(musicSource_);
    } else if (!paused && !wantPlaying_) {
        wantPlaying_ = true;
        restartLocked(pausedAt_);
    }
    return ok();
}

bool OpenAlOutput::setPosition(SamplePosition frame) {
    std::lock_guard lock(mutex_);
    if (!music_)
        return false;
    alGetError();
    restartLocked(std::clamp<std::int64_t>(frame, 0, music_->frames()));
    return ok();
}

bool OpenAlOutput::getPosition(SamplePosition& frame) {
    std::lock_guard lock(mutex_);
    if (!music_)
        return false;
    frame = static_cast<SamplePosition>(std::floor(positionLocked()));
    return true;
}

bool OpenAlOutput::setVolume(float gain) {
    std::lock_guard lock(mutex_);
    alGetError();
    alSourcef(musicSource_, AL_GAIN, gain);
    return ok();
}

bool OpenAlOutput::setFrequency(float hz) {
    std::lock_guard lock(mutex_);
    if (!music_ || !(hz > 0))
        return false;
    alGetError();
    const float pitch = hz / static_cast<float>(music_->frequency);
    const bool wasStretching = stretchingLocked();
    const float before = pitch_;
    pitch_ = pitch;
    if (wasStretching || stretchingLocked()) {
        // The stretcher's output is made ahead for one speed: start again from here.
        pitch_ = before;
        const std::int64_t here = heardFrameLocked();
        pitch_ = pitch;
        restartLocked(here);
        return ok();
    }
    alSourcef(musicSource_, AL_PITCH, pitch);
    if (!ok()) {
        pitch_ = before;
        return false;
    }
    return true;
}

void OpenAlOutput::setKeepPitch(bool keep) {
    std::lock_guard lock(mutex_);
    if (keep == keepPitch_)
        return;
    if (!music_ || pitch_ >= 1) {
        keepPitch_ = keep;
        return;
    }
    const std::int64_t here = heardFrameLocked();
    keepPitch_ = keep;
    restartLocked(here);
}

bool OpenAlOutput::loadEffect(EffectSound sound, std::shared_ptr<const PcmData> pcm) {
    if (!pcm || pcm->channels < 1 || pcm->channels > 2 || pcm->frames() == 0)
        return false;
    const auto i = static_cast<std::size_t>(sound);
    std::lock_guard lock(mutex_);
    alGetError();
    alSourcei(effectSources_[i], AL_BUFFER, 0);
    if (!effectBuffers_[i])
        alGenBuffers(1, &effectBuffers_[i]);
    alBufferData(effectBuffers_[i], alFormatOf(*pcm), pcm->samples.data(),
                 byteCount(pcm->frames(), pcm->channels), pcm->frequency);
    alSourcei(effectSources_[i], AL_BUFFER, static_cast<ALint>(effectBuffers_[i]));
    return ok();
}

bool OpenAlOutput::playEffect(EffectSound sound) {
    const auto i = static_cast<std::size_t>(sound);
    std::lock_guard lock(mutex_);
    if (!effectBuffers_[i])
        return false;
    alGetError();
    alSourceStop(effectSources_[i]);
    alSourcePlay(effectSources_[i]);
    return ok();
}

void OpenAlOutput::setEffectVolume(EffectSound sound, float gain) {
    std::lock_guard lock(mutex_);
    alSourcef(effectSources_[static_cast<std::size_t>(sound)], AL_GAIN, gain);
}

} // namespace quillex
