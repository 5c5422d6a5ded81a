// Turns the coarse play position a device reports into a smooth, precise one.
// An output's position only moves when the mixer renders its next block (often
// 10-20 ms), so reading it directly jumps in steps. While the music plays at a known
// rate, the true position is the steady clock scaled by that rate minus a constant;
// each raw reading is at most one block behind the truth, so the smallest gap seen
// between clock and reading is that constant. Its estimate may creep back up slowly so
// that a drift between the two clocks cannot build up.
#pragma once

#include <cstdint>

namespace quillex {

// Nanoseconds of the steady clock: the time base of PlayClock and of the silent
// output's position.
std::int64_t steadyNanoseconds();

class PlayClock {
  public:
    // Restarts the estimate (after a seek, a pause, a speed change).
    void reset() { valid_ = false; }
    // Given the steady time now (ns), the raw position read now (frames, with
    // fraction) and the playback rate (frames per second), returns the refined
    // position: never behind the raw reading and never more than `maxLead` frames
    // ahead of it.
    double refine(std::int64_t nowNs, double raw, double framesPerSecond, double maxLead);

  private:
    bool valid_ = false;
    double offset_ = 0; // smallest (clock frames - raw) seen
    std::int64_t lastNs_ = 0;
    std::int64_t baseNs_ = 0;
    double rate_ = 0;
};

} // namespace quillex
