// Decodes music files with libsndfile: WAV, Ogg Vorbis and MP3. MP3s are decoded
// without gapless trimming: the decoded music keeps every frame the MPEG decoder
// produces, encoder and decoder delay and end padding included, behind one frame of
// silence for a constant-bit-rate file's "Info" frame.
#pragma once

#include <sndfile.h>

#include <vector>

#include "audio/audio_backend.h"

namespace quillex {

class SndfileDecoder : public MusicDecoder {
  public:
    SndfileDecoder() = default;
    ~SndfileDecoder() override;
    SndfileDecoder(const SndfileDecoder&) = delete;
    SndfileDecoder& operator=(const SndfileDecoder&) = delete;

    bool open(const std::string& path, MusicFormat& format) override;
    std::string openError() const override { return openError_; }
    std::int64_t read16(std::int16_t* out, std::int64_t frames) override;
    std::int64_t read32(std::int32_t* out, std::int64_t frames) override;
    bool complete() const override;

    // An MP3 held in memory with its gapless fields cleared; libsndfile reads it
    // through callbacks. With its end hidden, seeking from the end fails, so that the
    // reader cannot work out the size.
    struct MemoryFile {
        std::vector<unsigned char> bytes;
        sf_count_t position = 0;
        bool endHidden = false;
    };

  private:
    bool openMp3Untrimmed(const std::string& path, SF_INFO& info, MusicFormat& format);
    std::int64_t takeLeadIn(std::int64_t frames);
    std::int64_t finishRead(sf_count_t got);
    void close();

    SNDFILE* file_ = nullptr;
    MemoryFile memory_;
    int channels_ = 0;
    bool floatData_ = false;
    bool failed_ = false;
    std::string openError_;
    std::int64_t framesRead_ = 0;
    // Silent frames still to deliver before the decoded MP3.
    std::int64_t leadIn_ = 0;
    // Frames an MP3's info frame announces (-1 for other files and for MP3s without a
    // frame count); fewer means a truncated file.
    std::int64_t announcedFrames_ = -1;
    std::vector<float> floatChunk_;
};

} // namespace quillex
