// The two edges of the music player: a decoder that turns a file into samples and an
// output that plays them. The real ones (libsndfile, OpenAL Soft) live in the platform
// target; tests and headless tools use fakes or the silent clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/large_buffer.h"
#include "audio/music_format.h"
#include "model/row_position.h"

namespace quillex {

// Decoded sound held in memory: interleaved 16-bit frames. The music is decoded once
// into this; the waveform is built from it and the output plays it.
struct PcmData {
    LargeBuffer<std::int16_t> samples;
    int channels = 0;
    int frequency = 0;
    std::int64_t frames() const {
        return channels > 0 ? static_cast<std::int64_t>(samples.size()) / channels : 0;
    }
};

class MusicDecoder {
  public:
    virtual ~MusicDecoder() = default;
    // Opens a file and reports its format. False when the file cannot be read or is
    // not audio this decoder knows; nothing is reported then.
    virtual bool open(const std::string& path, MusicFormat& format) = 0;
    // Why the last open failed, in the decoding library's words ("" when unknown).
    virtual std::string openError() const { return {}; }
    // Reads up to `frames` interleaved frames as 16-bit samples (for data of at most
    // 16 bits; 8-bit data arrive widened). Returns the frames read, 0 at the end, -1 on
    // a fault.
    virtual std::int64_t read16(std::int16_t* out, std::int64_t frames) = 0;
    // Reads up to `frames` interleaved frames left-aligned in 32 bits (24- and 32-bit
    // data; float data scaled so that 1.0 is full scale). Same results as read16.
    virtual std::int64_t read32(std::int32_t* out, std::int64_t frames) = 0;
    // After the last read: false when the data ended early or were damaged (such as a
    // truncated MP3), so the music must not be used.
    virtual bool complete() const = 0;
};

enum class EffectSound { BeatTick, NoteTick, Mine };

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // True when a device plays the sound; false for the silent clock.
    virtual bool audible() const = 0;

    // Makes `music` the music source, paused at frame 0, volume 1 and its own
    // frequency. Replaces any music set before. False when the device refuses it.
    virtual bool openMusic(std::shared_ptr<const PcmData> music) = 0;
    // Stops and drops the music source.
    virtual void closeMusic() = 0;
    virtual bool setPaused(bool paused) = 0;
    // Moves the music to a frame; a playing source keeps playing from there.
    virtual bool setPosition(SamplePosition frame) = 0;
    // The frame being heard now. While playing it is refined between the device's
    // mixing blocks; once the music has played to its end it is the music's length.
    // May be called from the input timer thread as well.
    virtual bool getPosition(SamplePosition& frame) = 0;
    // Gain 0..1.
    virtual bool setVolume(float gain) = 0;
    // Playback frequency in Hz: the music's rate times the speed, so pitch follows speed
    // unless keep pitch is on.
    virtual bool setFrequency(float hz) = 0;
    // With `keep` on, music played below its own frequency keeps its pitch (a time
    // stretcher); the position stays in the music's frames. Outputs without a stretcher,
    // and the silent clock, have nothing to change.
    virtual void setKeepPitch(bool /*keep*/) {}

    // The short effect sounds; each has a source of its own, a new play restarts it.
    virtual bool loadEffect(EffectSound sound, std::shared_ptr<const PcmData> pcm) = 0;
    virtual bool playEffect(EffectSound sound) = 0;
    virtual void setEffectVolume(EffectSound sound, float gain) = 0;
};

// What the player is made with.
struct AudioBackend {
    std::function<std::unique_ptr<MusicDecoder>()> makeDecoder;
    std::unique_ptr<AudioOutput> output;
    // Set when no device could be opened and `output` is the silent clock: the player
    // says it once, on standard error and in the status layer.
    std::string deviceNotice;
};

} // namespace quillex
