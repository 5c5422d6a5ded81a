#include "audio/play_clock.h"

#include <algorithm>
#include <chrono>

namespace quillex {

namespace {
// How fast the estimate may give way to a slower device clock: 0.1 ms per second,
// more than crystal clocks drift apart.
constexpr double kCreepPerSecond = 0.0001;
} // namespace

std::int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double PlayClock::refine(std::int64_t nowNs, double raw, double framesPerSecond, double maxLead) {
    if (!valid_ || framesPerSecond != rate_) {
        valid_ = true;
        rate_ = framesPerSecond;
        lastNs_ = baseNs_ = nowNs;
        // Clock frames are counted from this first reading.
        offset_ = -raw;
        return raw;
    }
    const double clockFrames = static_cast<double>(nowNs - baseNs_) * 1e-9 * framesPerSecond;
    const double elapsed = static_cast<double>(nowNs - lastNs_) * 1e-9;
    lastNs_ = nowNs;
    offset_ = std::min(offset_ + elapsed * kCreepPerSecond * framesPerSecond, clockFrames - raw);
    return std::clamp(clockFrames - offset_, raw, raw + maxLead);
}

} // namespace quillex
