#include "audio/platform/sndfile_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "audio/mp3_first_frame.h"

namespace quillex {

namespace {

// Frames of delay the MPEG layer III synthesis adds in front of the music.
constexpr std::int64_t kMpegDecoderDelay = 529;

using MemoryFile = SndfileDecoder::MemoryFile;

sf_count_t memoryLength(void* user) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(f->bytes.size());
    sf_count_t target = offset;
    if (whence == SEEK_CUR)
        target += f->position;
    else if (whence == SEEK_END && f->endHidden)
        return -1;
    else if (whence == SEEK_END)
        target += size;
    if (target < 0 || target > size)
        return -1;
    f->position = target;
    return target;
}

sf_count_t memoryRead(void* data, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(f->bytes.size());
    const sf_count_t n = std::clamp<sf_count_t>(size - f->position, 0, count);
    std::memcpy(data, f->bytes.data() + f->position, static_cast<std::size_t>(n));
    f->position += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memoryTell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}

// Bits per sample of the data as stored: compressed formats decode to 16 bits.
int bitsOf(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return 8;
    case SF_FORMAT_PCM_24:
        return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 32;
    case SF_FORMAT_DOUBLE:
        return 64;
    default:
        return 16;
    }
}

} // namespace

SndfileDecoder::~SndfileDecoder() {
    close();
}

void SndfileDecoder::close() {
    if (file_)
        sf_close(file_);
    file_ = nullptr;
}

// The decoded music of an MP3 is the MPEG decoder's output left untrimmed, with every
// sample where the rhythm game that plays the finished song has it, so that beats
// placed here are heard on time there.
//
// libsndfile's MPEG reader trims an MP3 "gaplessly" when its Xing/Info frame gives a
// frame count: it drops the encoder delay the LAME extension names plus its own
// decoder delay, and the padding at the end. Clearing delay and padding in a copy of
// the file leaves only the decoder delay dropped; that many frames of silence are put
// back in front, so the decoded music lines up with the untrimmed output frame for
// frame. Only such a frame count makes the length libsndfile announces exact; without
// one the MPEG reader guesses it from the file's size, and libsndfile would stop
// reading there. Such MP3s are read with their end hidden (no seeking from it), so
// that no size is known: the length is left open and the music read to its end.
//
// The game decodes an "Info" frame (LAME's tag on constant-bit-rate files) as one
// frame of silence, where it skips an "Xing" frame; so one frame of silence, of the
// file's own frame size (576 samples at MPEG-2 and 2.5), goes in front of the music of
// an Info-tagged file here too.
bool SndfileDecoder::openMp3Untrimmed(const std::string& path, SF_INFO& info, MusicFormat& format) {
    std::ifstream in(path, std::ios::binary);
    memory_.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    memory_.position = 0;
    const auto first = findFirstMp3Frame(memory_.bytes.data(), memory_.bytes.size());
    const Mp3InfoFrame* frame = first && first->infoFrame ? &*first->infoFrame : nullptr;
    if (frame && frame->delayFieldOffset > 0)
        std::fill_n(memory_.bytes.begin() + static_cast<std::ptrdiff_t>(frame->delayFieldOffset), 3,
                    0);
    const bool lengthKnown = frame && frame->frameCount > 0;
    memory_.endHidden = !lengthKnown;
    static SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    info = SF_INFO{};
    file_ = sf_open_virtual(&io, SFM_READ, &info, &memory_);
    if (!file_) {
        openError_ = sf_strerror(nullptr);
        return false;
    }
    if (lengthKnown) {
        leadIn_ = kMpegDecoderDelay;
        announcedFrames_ = info.frames;
    }
    if (frame && frame->info)
        leadIn_ += first->samplesPerFrame;
    format.frames = lengthKnown ? info.frames + leadIn_
                    : first     ? estimateMp3Frames(*first, memory_.bytes.size()) + leadIn_
                                : -1;
    return true;
}

bool SndfileDecoder::open(const std::string& path, MusicFormat& format) {
    close();
    openError_.clear();
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (!file_) {
        openError_ = sf_strerror(nullptr); // the reason the last open failed
        return false;
    }
    format.frames = info.frames == SF_COUNT_MAX ? -1 : info.frames;
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) {
        close();
        if (!openMp3Untrimmed(path, info, format))
            return false;
    }
    // Float data from lossy decoders can exceed full scale; clip rather than wrap.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    channels_ = info.channels;
    floatData_ = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT;
    format.frequency = info.samplerate;
    format.channels = info.channels;
    format.bits = bitsOf(info.format);
    format.floatingPoint = floatData_;
    return true;
}

std::int64_t SndfileDecoder::finishRead(sf_count_t got) {
    if (got <= 0 && sf_error(file_) != SF_ERR_NO_ERROR) {
        failed_ = true;
        return -1;
    }
    framesRead_ += std::max<sf_count_t>(got, 0);
    return got;
}

std::int64_t SndfileDecoder::takeLeadIn(std::int64_t frames) {
    const std::int64_t n = std::min(frames, leadIn_);
    leadIn_ -= n;
    return n;
}

std::int64_t SndfileDecoder::read16(std::int16_t* out, std::int64_t frames) {
    if (!file_)
        return -1;
    if (const std::int64_t silent = takeLeadIn(frames)) {
        std::fill_n(out, silent * channels_, 0);
        return silent;
    }
    return finishRead(sf_readf_short(file_, out, frames));
}

std::int64_t SndfileDecoder::read32(std::int32_t* out, std::int64_t frames) {
    if (!file_)
        return -1;
    if (const std::int64_t silent = takeLeadIn(frames)) {
        std::fill_n(out, silent * channels_, 0);
        return silent;
    }
    if (!floatData_)
        return finishRead(sf_readf_int(file_, out, frames));
    // Float data are scaled to the same signed range as 32-bit integers (1.0 is full
    // scale) rather than read as integers.
    floatChunk_.resize(static_cast<std::size_t>(frames * channels_));
    const sf_count_t got = sf_readf_float(file_, floatChunk_.data(), frames);
    for (sf_count_t i = 0; i < std::max<sf_count_t>(got, 0) * channels_; ++i) {
        const double value = std::isnan(floatChunk_[i]) ? 0.0 : floatChunk_[i];
        const double scaled = std::clamp(value, -1.0, 1.0) * 2147483648.0;
        out[i] = static_cast<std::int32_t>(std::min(scaled, 2147483647.0));
    }
    return finishRead(got);
}

bool SndfileDecoder::complete() const {
    if (failed_ || !file_)
        return false;
    // An MP3 that ends before the length its info frame announces is truncated; one
    // that yields nothing but the silence put in front of it holds no music.
    return framesRead_ > 0 && (announcedFrames_ < 0 || framesRead_ >= announcedFrames_);
}

} // namespace quillex
