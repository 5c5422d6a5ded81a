#include "audio/platform/stretched_music.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace quillex {

namespace {

// Frames handed to or taken from the stretcher at once.
constexpr std::size_t kBlock = 4096;

std::int16_t toSample(float value) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value * 32768.0f), -32768L, 32767L));
}

} // namespace

StretchedMusic::StretchedMusic() = default;
StretchedMusic::~StretchedMusic() = default;

void StretchedMusic::makeStretcher(int channels, int rate) {
    using RubberBand::RubberBandStretcher;
    // The finer engine: its cost at half speed is a small share of a core, and it places
    // drum attacks more steadily than the faster one (within about 3 ms of music time at
    // half speed, against up to 5 ms), which is what a chart author listens for.
    stretcher_ = std::make_unique<RubberBandStretcher>(
        static_cast<std::size_t>(rate), static_cast<std::size_t>(channels),
        RubberBandStretcher::OptionProcessRealTime | RubberBandStretcher::OptionEngineFiner,
        1.0 / speed_);
    stretcher_->setMaxProcessSize(kBlock);
    channels_ = channels;
    rate_ = rate;
    planes_.assign(static_cast<std::size_t>(channels), std::vector<float>(kBlock));
    planePointers_.clear();
    for (auto& plane : planes_)
        planePointers_.push_back(plane.data());
}

void StretchedMusic::start(std::shared_ptr<const PcmData> music, std::int64_t frame,
                           double speed) {
    music_ = std::move(music);
    speed_ = speed;
    if (!stretcher_ || channels_ != music_->channels || rate_ != music_->frequency) {
        makeStretcher(music_->channels, music_->frequency);
    } else {
        stretcher_->reset();
        stretcher_->setTimeRatio(1.0 / speed);
    }
    nextInput_ = std::clamp<std::int64_t>(frame, 0, music_->frames());
    inputDone_ = false;
    // Silence ahead of the music, and as much output dropped, line the output up with
    // the input from its first frame.
    for (auto& plane : planes_)
        std::fill(plane.begin(), plane.end(), 0.0f);
    for (std::size_t pad = stretcher_->getPreferredStartPad(); pad > 0;) {
        const std::size_t n = std::min(pad, kBlock);
        stretcher_->process(planePointers_.data(), n, false);
        pad -= n;
    }
    outputToTrim_ = stretcher_->getStartDelay();
    // The stretcher's last block runs on past the music's end: stop where it ends.
    outputLeft_ = std::llround(static_cast<double>(music_->frames() - nextInput_) / speed);
}

void StretchedMusic::feedInput() {
    const std::int64_t left = music_->frames() - nextInput_;
    const std::size_t wanted = std::clamp<std::size_t>(stretcher_->getSamplesRequired(), 512, kBlock);
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(wanted)));
    const std::int16_t* in = music_->samples.data() + nextInput_ * channels_;
    for (std::size_t i = 0; i < n; ++i)
        for (int c = 0; c < channels_; ++c)
            planes_[static_cast<std::size_t>(c)][i] =
                static_cast<float>(in[i * static_cast<std::size_t>(channels_) + static_cast<std::size_t>(c)]) /
                32768.0f;
    nextInput_ += static_cast<std::int64_t>(n);
    inputDone_ = nextInput_ >= music_->frames();
    stretcher_->process(planePointers_.data(), n, inputDone_);
}

std::int64_t StretchedMusic::read(std::int16_t* out, std::int64_t frames) {
    frames = std::min(frames, outputLeft_);
    std::int64_t done = 0;
    while (done < frames) {
        const int available = stretcher_->available();
        if (available < 0)
            break; // the last output has been taken
        if (available == 0) {
            if (inputDone_)
                break;
            feedInput();
            continue;
        }
        const std::size_t want = outputToTrim_ > 0 ? outputToTrim_
                                                   : static_cast<std::size_t>(frames - done);
        const std::size_t n = stretcher_->retrieve(
            planePointers_.data(), std::min({static_cast<std::size_t>(available), want, kBlock}));
        if (outputToTrim_ > 0) {
            outputToTrim_ -= n;
            continue;
        }
        for (std::size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels_; ++c)
                *out++ = toSample(planes_[static_cast<std::size_t>(c)][i]);
        done += static_cast<std::int64_t>(n);
    }
    outputLeft_ -= done;
    return done;
}

} // namespace quillex
