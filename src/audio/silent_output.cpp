#include "audio/silent_output.h"

#include <algorithm>
#include <cmath>

#include "audio/play_clock.h"

namespace quillex {

SilentOutput::SilentOutput() : SilentOutput(steadyNanoseconds) {}

SilentOutput::SilentOutput(Clock clock) : clock_(std::move(clock)) {}

double SilentOutput::positionNow() const {
    if (paused_)
        return anchorFrame_;
    const double elapsed = static_cast<double>(clock_() - anchorTime_) * 1e-9;
    return std::min(anchorFrame_ + elapsed * frequency_, static_cast<double>(length_));
}

void SilentOutput::restartFrom(double frame) {
    anchorFrame_ = frame;
    anchorTime_ = clock_();
}

bool SilentOutput::openMusic(std::shared_ptr<const PcmData> music) {
    std::lock_guard lock(mutex_);
    if (!music)
        return false;
    length_ = music->frames();
    frequency_ = music->frequency;
    open_ = true;
    paused_ = true;
    restartFrom(0);
    return true;
}

void SilentOutput::closeMusic() {
    std::lock_guard lock(mutex_);
    open_ = false;
    paused_ = true;
    length_ = 0;
    restartFrom(0);
}

bool SilentOutput::setPaused(bool paused) {
    std::lock_guard lock(mutex_);
    if (!open_)
        return false;
    const double now = positionNow();
    paused_ = paused;
    restartFrom(now);
    return true;
}

bool SilentOutput::setPosition(SamplePosition frame) {
    std::lock_guard lock(mutex_);
    if (!open_)
        return false;
    restartFrom(std::clamp<double>(frame, 0, static_cast<double>(length_)));
    return true;
}

bool SilentOutput::getPosition(SamplePosition& frame) {
    std::lock_guard lock(mutex_);
    if (!open_)
        return false;
    frame = static_cast<SamplePosition>(std::floor(positionNow()));
    return true;
}

bool SilentOutput::setFrequency(float hz) {
    std::lock_guard lock(mutex_);
    if (!open_ || !(hz > 0))
        return false;
    const double now = positionNow();
    frequency_ = hz;
    restartFrom(now);
    return true;
}

} // namespace quillex
